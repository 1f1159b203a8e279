-- Pieces shared by the session scripts, loaded with dofile: polling with a
-- deadline, tracks, wiring.
local pieces = {}

-- Checks `condition` after each process cycle of the engine (the session
-- changes only there) until it holds or 30 s of wall time passed.
function pieces.wait_for(what, condition)
  local deadline = ARDOUR.LuaAPI.monotonic_time() + 30 * 1000000
  while not condition() do
    local left_ms = (deadline - ARDOUR.LuaAPI.monotonic_time()) // 1000
    if left_ms <= 0 then error("timed out waiting for " .. what) end
    ARDOUR.LuaAPI.wait_for_process_callback(1, left_ms)
  end
end

function pieces.track(name, channels)
  Session:new_audio_track(channels, channels, nil, 1, name, ARDOUR.PresentationInfo.max_order,
                          ARDOUR.TrackMode.Normal, false, false)
  -- By name, not the new list's front(): that is a reference into the list,
  -- dangling once Lua collects the list.
  local track = Session:route_by_name(name):to_track()
  track:set_strict_io(true)
  -- More than two channels get Ardour's VBAP panner, which mixes them.
  if channels > 2 then track:panner_shell():set_bypassed(true) end
  return track
end

-- Connects each source (a port name, or a route's outputs) to the track's inputs.
function pieces.wire(sources, track, channels)
  for c = 0, channels - 1 do
    local from = type(sources) == "table" and sources[c + 1] or sources:output():audio(c):name()
    local to = track:input():audio(c):name()
    assert(Session:engine():connect(from, to) == 0, "cannot connect " .. from .. " to " .. to)
  end
end

function pieces.wait_connected(routes)
  pieces.wait_for("connected inputs", function()
    for _, route in ipairs(routes) do
      local inputs = route:input()
      for c = 0, inputs:n_ports():n_audio() - 1 do
        if not inputs:audio(c):connected() then return false end
      end
    end
    return true
  end)
end

function pieces.roll_seconds(seconds)
  local from = Session:transport_sample()
  pieces.wait_for(seconds .. " s of rolling", function()
    return Session:transport_sample() >= from + seconds * Session:nominal_sample_rate()
  end)
end

function pieces.stop()
  Session:request_stop(false, false, ARDOUR.TransportRequestSource.TRS_UI)
  pieces.wait_for("the transport to stop", function() return not Session:transport_rolling() end)
end

-- Ardour may start one track's capture a cycle before another's: where each
-- take begins on the timeline aligns them ("take", name, position).
function pieces.report_takes(report, recorders)
  for _, recorder in ipairs(recorders) do
    pieces.wait_for("the take of " .. recorder:name(), function()
      return recorder:playlist():region_list():size() > 0
    end)
    for region in recorder:playlist():region_list():iter() do
      report:write("take\t", recorder:name(), "\t", region:position():samples(), "\n")
    end
  end
end

return pieces
