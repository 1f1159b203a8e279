#!/usr/bin/env bash
# Installs the Debian package from build/release/, checks that it put the
# tested druvo.so where Ardour 7 looks by default, every file root's and
# readable by all (Ardour, run as an ordinary user and given no plug-in path,
# lists Druvo from /usr/lib/lxvst once its scanner has indexed the file), and
# that removing it leaves nothing behind. The machine ends as it
# began: the package is purged on any exit. Skips if druvo is installed
# already, since the test could not put that install back.
set -euo pipefail
cd "$(dirname "$0")/../.."

deb=$(ls build/release/druvo_*_amd64.deb)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
installed() { [ "$(dpkg-query -W -f='${Status}' druvo 2>/dev/null)" = "install ok installed" ]; }
if dpkg-query -W druvo >/dev/null 2>&1; then
  echo "SKIPPED: a druvo package is on this machine already"
  exit 0
fi
work=$(mktemp -d)
trap '$sudo dpkg --purge druvo >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
before=$(find /usr/lib/lxvst /usr/share/doc/druvo 2>/dev/null | sort || true)

$sudo dpkg -i "$deb" >/dev/null
installed || fail "dpkg did not install $deb"
[ "$(sha256sum < /usr/lib/lxvst/druvo.so)" = "$(sha256sum < build/linux/druvo.so)" ] ||
  fail "/usr/lib/lxvst/druvo.so is not the tested build/linux/druvo.so"
for doc in README.txt copyright changelog.gz; do
  [ -f "/usr/share/doc/druvo/$doc" ] || fail "no /usr/share/doc/druvo/$doc"
done
cmp -s /usr/share/doc/druvo/copyright packaging/copyright.txt || fail "/usr/share/doc/druvo/copyright differs"
modes=$(dpkg -L druvo | xargs stat -c '%U:%G %a %F %n' | grep -vE '^root:root (644 regular file|755 directory) ' || true)
[ -z "$modes" ] || fail "files not root's or not readable by all: $modes"

# Ardour with a private home, as an ordinary user (nobody when the test runs as
# root): its scanner indexes the installed file, then a Lua session started
# without LXVST_PATH lists what its default path holds.
home="$work/home"
mkdir -p "$home"
user=()
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody: "$work"
  user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
ardour_env=("${user[@]}" env -u LXVST_PATH HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache"
  XDG_DATA_HOME="$home/.local/share" DRUVO_SESSION="$work/session")
"${ardour_env[@]}" LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst-scanner \
  /usr/lib/lxvst/druvo.so > "$work/scanner.log" 2>&1 || fail "Ardour's scanner: $(cat "$work/scanner.log")"
cat > "$work/list.lua" <<'LUA'
AudioEngine:set_backend("None (Dummy)", "", "")
assert(create_session(os.getenv("DRUVO_SESSION"), "list", 48000), "no session")
for plugin in ARDOUR.LuaAPI.list_plugins():iter() do
  if plugin.type == ARDOUR.PluginType.LXVST then print("lxvst", plugin.unique_id, plugin.path) end
end
LUA
"${ardour_env[@]}" ardour7-lua "$work/list.lua" > "$work/list.log" 2>&1 || true
# Unique ID 0x56535462 ("VSTb").
grep -qE "^lxvst[[:space:]]+1448301666[[:space:]]+/usr/lib/lxvst/druvo.so$" "$work/list.log" ||
  fail "Ardour did not list /usr/lib/lxvst/druvo.so: $(cat "$work/list.log")"

$sudo dpkg --purge druvo >/dev/null
! installed || fail "druvo still installed after dpkg --purge"
after=$(find /usr/lib/lxvst /usr/share/doc/druvo 2>/dev/null | sort || true)
[ "$before" = "$after" ] || fail "left behind: $after"
echo "Debian package: installed, found by Ardour in /usr/lib/lxvst, removed cleanly"
