-- Run by ardour7-lua: one 48 kHz session on the dummy backend's sine
-- generator, three stereo chains fed from capture 1 and 2 and each recorded
-- for 2 s by a second track: "reference" (no plug-in), "pass" (Druvo, no bus)
-- and "bus" (Druvo on bus 1). Writes what Ardour reports of the plug-in to
-- $DRUVO_REPORT; the takes land in the session's audiofiles folder.
local backend = AudioEngine:set_backend("None (Dummy)", "", "")
backend:set_device_name("Sine Wave")
backend:set_sample_rate(48000)
assert(create_session(os.getenv("DRUVO_SESSION"), "druvo", 48000), "no session")
-- Everything is wired below; Ardour's own wiring runs in another thread.
ARDOUR.config():set_output_auto_connect(0)

local pieces = dofile(os.getenv("DRUVO_SESSION_PIECES"))
local wait_for = pieces.wait_for

local function stereo_track(name) return pieces.track(name, 2) end

local chains = {}
for _, name in ipairs({"reference", "pass", "bus"}) do
  chains[name] = { source = stereo_track(name), recorder = stereo_track(name .. "-take") }
  -- Unarmed, a rolling track would play its empty playlist, not its input.
  chains[name].source:monitoring_control():set_value(ARDOUR.MonitorChoice.MonitorInput,
                                                     PBD.GroupControlDisposition.NoGroup)
end
for _, name in ipairs({"pass", "bus"}) do
  local insert = ARDOUR.LuaAPI.new_plugin(Session, "Moltrax", ARDOUR.PluginType.LXVST, "")
  assert(not insert:isnil(), "Ardour did not load the plug-in")
  chains[name].source:add_processor_by_index(insert, 0, nil, true)
  chains[name].insert = insert
end
ARDOUR.LuaAPI.set_processor_param(chains.bus.insert, 0, 1 / 16)

local report = assert(io.open(os.getenv("DRUVO_REPORT"), "w"))
local plugin = chains.pass.insert:to_insert():plugin(0)
local _, descriptor = plugin:get_parameter_descriptor(0, ARDOUR.ParameterDescriptor())
report:write("parameters\t", plugin:parameter_count(), "\n")
report:write("parameter\t", descriptor[2].label, "\n")
for preset in plugin:get_info():get_presets(false):iter() do
  report:write("program\t", preset.label, "\n")
end

local function wire(sources, track) pieces.wire(sources, track, 2) end
for _, chain in pairs(chains) do
  wire({"system:capture_1", "system:capture_2"}, chain.source)
  wire(chain.source, chain.recorder)
end
wait_for("two connected inputs on every track", function()
  for _, chain in pairs(chains) do
    for _, track in ipairs({chain.source, chain.recorder}) do
      local inputs = track:input()
      if inputs:n_ports():n_audio() ~= 2 then return false end
      for c = 0, 1 do
        if not inputs:audio(c):connected() then return false end
      end
    end
  end
  return true
end)

for _, chain in pairs(chains) do
  chain.recorder:rec_enable_control():set_value(1, PBD.GroupControlDisposition.NoGroup)
end
-- Ardour smooths a fader's gain after an insert changes its chain: roll half
-- a second before recording, so every take starts after the smoothing.
Session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
wait_for("half a second of rolling", function() return Session:transport_sample() >= 24000 end)
Session:maybe_enable_record(false)
wait_for("recording", function() return Session:actively_recording() end)
local start = Session:transport_sample()
wait_for("2 s of recording", function() return Session:transport_sample() >= start + 2 * 48000 end)
pieces.stop()
local recorders = {}
for _, chain in pairs(chains) do recorders[#recorders + 1] = chain.recorder end
pieces.report_takes(report, recorders)
report:write("recorded\n")
report:close()
close_session()
quit()
