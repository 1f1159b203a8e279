#!/usr/bin/env bash
# One screenshot of Druvo in Ardour 7 on a virtual display: a session with the
# stand-in Moltrax on an instrument track and three audio tracks with Druvo on
# buses 1, 2 and 3, each Druvo editor open in Ardour's plug-in window.
#   scripts/ardour-screenshot.sh [FILE.png]   (default build/ardour-screenshot/ardour-session.png)
# Builds druvo.so and the stand-in in build/linux (or DRUVO_LINUX_BUILD).
# Ardour runs on its Dummy backend with a private HOME in build/ardour-screenshot/:
# its settings there start the engine without asking and skip the first-run
# wizard, and the session asks Ardour to open the three editors on loading.
# Not a test: it makes a picture, for the README (docs/ardour-session.png).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
linux_build=${DRUVO_LINUX_BUILD:-$root/build/linux}
work=$root/build/ardour-screenshot

if [ "${1:-}" != "--inside-display" ]; then
    out=$(realpath -m "${1:-$work/ardour-session.png}")
    [ -f "$linux_build/CMakeCache.txt" ] || cmake --preset linux -B "$linux_build" >/dev/null
    cmake --build "$linux_build" --target druvo moltrax_standin x11_snapshot
    exec scripts/xvfb-test.sh "$0" --inside-display "$out"
fi
out=$2

rm -rf "$work"
mkdir -p "$work/plugins" "$work/home/.config/ardour7"
home=$work/home
ardour_env=(env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache"
    XDG_DATA_HOME="$home/.local/share" LXVST_PATH="$work/plugins")

# Been here before (no first-run wizard); the Dummy backend shown (Ardour hides
# it by default) and started as set here, without asking.
touch "$home/.config/ardour7/.a7"
cat >"$home/.config/ardour7/config" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<Ardour>
  <Config>
    <Option name="try-autostart-engine" value="1"/>
    <Option name="hide-dummy-backend" value="0"/>
  </Config>
  <Extra>
    <AudioMIDISetup>
      <EngineStates>
        <State backend="None (Dummy)" driver="" device="Silence" input-device="" output-device=""
               sample-rate="48000" buffer-size="1024" n-periods="0" input-latency="0"
               output-latency="0" input-channels="0" output-channels="0" lm-input="" lm-output=""
               active="1" use-buffered-io="0" midi-option="" lru="0">
          <MIDIDevices/>
        </State>
      </EngineStates>
    </AudioMIDISetup>
  </Extra>
</Ardour>
XML

# The plug-ins where Ardour's scanner has indexed them; Ardour trusts a cache
# only if it is newer than the file, so the copies are dated back.
for plugin in "$linux_build/druvo.so" "$linux_build/Moltrax.so"; do
    cp "$plugin" "$work/plugins/"
    touch -d '-5 seconds' "$work/plugins/$(basename "$plugin")"
    "${ardour_env[@]}" LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst-scanner \
        "$work/plugins/$(basename "$plugin")" >"$work/scan.log" 2>&1
done

# The session, made headless: the instrument track, then the Druvo tracks.
cat >"$work/session.lua" <<'LUA'
-- The engine as the GUI's settings start it, or Ardour asks about the change.
local backend = AudioEngine:set_backend("None (Dummy)", "", "")
backend:set_device_name("Silence")
backend:set_sample_rate(48000)
backend:set_buffer_size(1024)
assert(create_session(os.getenv("DRUVO_SESSION"), "druvo", 48000), "no session")
Session:new_midi_track(ARDOUR.ChanCount(ARDOUR.DataType("midi"), 1), ARDOUR.ChanCount(ARDOUR.DataType("audio"), 2),
                       false, ARDOUR.LuaAPI.new_plugin_info("Moltrax Stand-in", ARDOUR.PluginType.LXVST), nil, nil, 1,
                       "Moltrax", ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, false, false)
for bus, name in ipairs({"Strings", "Drums", "Keys"}) do
  Session:new_audio_track(2, 2, nil, 1, name, ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, false, false)
  local insert = ARDOUR.LuaAPI.new_plugin(Session, "Moltrax", ARDOUR.PluginType.LXVST, "")
  assert(not insert:isnil(), "Ardour did not load druvo.so")
  Session:route_by_name(name):add_processor_by_index(insert, 0, nil, true)
  ARDOUR.LuaAPI.set_processor_param(insert, 0, bus / 16)
end
Session:save_state("", false, false, false, false, false)
close_session()
quit()
LUA
"${ardour_env[@]}" DRUVO_SESSION="$work/session" ardour7-lua "$work/session.lua" >"$work/session.log" 2>&1 ||
    { cat "$work/session.log" >&2; exit 1; }

# Ardour opens on loading the plug-in windows its session lists as visible
# (Extra/UI, one Window per processor, named P-<route id>-<processor id>).
python3 - "$work/session/druvo.ardour" <<'PY'
import sys
import xml.etree.ElementTree as ET
path = sys.argv[1]
tree = ET.parse(path)
session = tree.getroot()
extra = session.find("Extra")
if extra is None:
    extra = ET.SubElement(session, "Extra")
ui = extra.find("UI")
if ui is None:
    ui = ET.SubElement(extra, "UI")
opened = 0
for route in session.iter("Route"):
    for processor in route.iter("Processor"):
        if processor.get("type") == "lxvst" and processor.get("name") == "Moltrax":
            ET.SubElement(ui, "Window", {
                "name": f"P-{route.get('id')}-{processor.get('id')}", "visible": "1",
                "x-off": str(600 + 60 * opened), "y-off": str(290 + 135 * opened),
                "x-size": "-1", "y-size": "-1", "custom-ui": "yes"})
            opened += 1
assert opened == 3, f"{opened} Druvo inserts in the session"
tree.write(path, encoding="UTF-8", xml_declaration=True)
PY

"${ardour_env[@]}" ardour --no-announcements "$work/session/druvo.ardour" >"$work/ardour.log" 2>&1 &
ardour=$!
stop() { kill "$ardour" 2>/dev/null && wait "$ardour" 2>/dev/null || true; }
trap stop EXIT

# Waits, with a deadline, for the three Druvo windows to be mapped, then for
# Ardour to settle (no window mapped or unmapped for two seconds).
windows() { xwininfo -root -tree 2>/dev/null | grep -c ': Moltrax (by Quandrelle)' || true; }
deadline=$(($(date +%s) + 60))
until [ "$(windows)" -ge 3 ]; do
    if [ "$(date +%s)" -gt "$deadline" ] || ! kill -0 "$ardour" 2>/dev/null; then
        "$linux_build/tests/window/x11_snapshot" grab "$work/failed.png" 0 0 1280 800 || true
        xwininfo -root -tree >"$work/windows.txt" 2>&1 || true
        echo "ardour-screenshot: the Druvo windows did not open; the screen is in $work/failed.png" >&2
        tail -n 30 "$work/ardour.log" >&2
        exit 1
    fi
    sleep 0.5
done
last=""
stable=0
while [ "$stable" -lt 4 ] && [ "$(date +%s)" -le "$deadline" ]; do
    now=$(xwininfo -root -tree | md5sum)
    if [ "$now" = "$last" ]; then stable=$((stable + 1)); else stable=0; fi
    last=$now
    sleep 0.5
done
xwininfo -root -tree >"$work/windows.txt"

mkdir -p "$(dirname "$out")"
"$linux_build/tests/window/x11_snapshot" grab "$out" 0 0 1280 800
echo "$out"
