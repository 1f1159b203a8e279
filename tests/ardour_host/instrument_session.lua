-- Run by ardour7-lua: the stand-in Moltrax as an instrument track and five
-- Druvo tracks on its buses, all recorded from the start while the session
-- runs on two processing threads at $DRUVO_BLOCK frames, then torn down in
-- turns: bus 4's first claimant lets go, the instrument goes and comes back,
-- two Druvo instances go, the session closes. Writes each turn to
-- $DRUVO_REPORT; the takes land in the session's audiofiles folder.
local pieces = dofile(os.getenv("DRUVO_SESSION_PIECES"))
local backend = AudioEngine:set_backend("None (Dummy)", "", "")
backend:set_device_name("Silence")
backend:set_sample_rate(48000)
backend:set_buffer_size(tonumber(os.getenv("DRUVO_BLOCK")))
ARDOUR.config():set_processor_usage(2)
assert(create_session(os.getenv("DRUVO_SESSION"), "druvo", 48000), "no session")
ARDOUR.config():set_output_auto_connect(0)
local report = assert(io.open(os.getenv("DRUVO_REPORT"), "w"))
report:write("block\t", Session:get_block_size(), "\n")

local function instrument()
  local plugin = ARDOUR.LuaAPI.new_plugin(Session, "Moltrax Stand-in", ARDOUR.PluginType.LXVST, "")
  assert(not plugin:isnil(), "Ardour did not load the stand-in instrument")
  return plugin
end
-- A MIDI track with the instrument, as Ardour makes instrument tracks; not
-- strict I/O, which would drop its audio outputs while the instrument is gone.
Session:new_midi_track(ARDOUR.ChanCount(ARDOUR.DataType("midi"), 1), ARDOUR.ChanCount(ARDOUR.DataType("audio"), 2),
                       false, ARDOUR.LuaAPI.new_plugin_info("Moltrax Stand-in", ARDOUR.PluginType.LXVST), nil, nil, 1,
                       "moltrax", ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, false, false)
local synth = Session:route_by_name("moltrax"):to_track()
assert(not synth:nth_plugin(0):isnil(), "Ardour did not load the stand-in instrument")

-- name, channels, bus; d5 picks bus 4 once d4 has run with it (below): the
-- first block to run claims, and the host runs tracks in any order.
local layout = {{"d1", 2, 1}, {"d2", 6, 3}, {"d3", 6, 2}, {"d4", 2, 4}, {"d5", 2, 0}}
local druvo, routes = {}, {}
for _, t in ipairs(layout) do
  local track = pieces.track(t[1], t[2])
  track:monitoring_control():set_value(ARDOUR.MonitorChoice.MonitorInput, PBD.GroupControlDisposition.NoGroup)
  local insert = ARDOUR.LuaAPI.new_plugin(Session, "Moltrax", ARDOUR.PluginType.LXVST, "")
  assert(not insert:isnil(), "Ardour did not load druvo.so")
  track:add_processor_by_index(insert, 0, nil, true)
  ARDOUR.LuaAPI.set_processor_param(insert, 0, t[3] / 16)
  druvo[t[1]] = { track = track, insert = insert }
end
local sources = {{"moltrax", synth, 2}}
for _, t in ipairs(layout) do sources[#sources + 1] = {t[1], druvo[t[1]].track, t[2]} end
for _, s in ipairs(sources) do
  local recorder = pieces.track(s[1] .. "-take", s[3])
  pieces.wire(s[2], recorder, s[3])
  recorder:rec_enable_control():set_value(1, PBD.GroupControlDisposition.NoGroup)
  routes[#routes + 1] = recorder
end
pieces.wait_connected(routes)

local function turn(name)
  report:write("turn\t", name, "\t", Session:transport_sample(), "\n")
  report:flush()
end
Session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
pieces.roll_seconds(0.5)
ARDOUR.LuaAPI.set_processor_param(druvo.d5.insert, 0, 4 / 16)
Session:maybe_enable_record(false)
pieces.wait_for("recording", function() return Session:actively_recording() end)
turn("recording")
pieces.roll_seconds(1)
ARDOUR.LuaAPI.set_processor_param(druvo.d4.insert, 0, 0)
turn("d4 lets go")
pieces.roll_seconds(0.5)
-- Ardour closes a plug-in when nothing holds its processor, Lua included.
synth:remove_processor(synth:nth_plugin(0), nil, true)
collectgarbage()
turn("instrument removed")
pieces.roll_seconds(0.5)
synth:add_processor_by_index(instrument(), 0, nil, true)
turn("instrument added")
pieces.roll_seconds(0.5)
for _, name in ipairs({"d1", "d2"}) do
  druvo[name].track:remove_processor(druvo[name].insert, nil, true)
  druvo[name].insert = nil
end
collectgarbage()
turn("d1 d2 removed")
pieces.roll_seconds(0.5)
pieces.stop()
pieces.report_takes(report, routes)
report:write("recorded\n")
report:close()
close_session()
quit()
