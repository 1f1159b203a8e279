#!/usr/bin/env bash
# Installs the MSI from build/release/ silently in a private 64-bit wine prefix
# and checks where the DLLs land, in three set-ups:
#   no host folders registered      Steinberg's default folders (the 64-bit
#                                   Steinberg folder there before, empty)
#   HKLM\SOFTWARE\VST registered    VSTPluginsPath of each registry view, the
#                                   hosts' folders there before; an older
#                                   Druvo there is upgraded, and the
#                                   uninstall finds the files after the hosts'
#                                   values are gone
#   folders on the command line     VST64DIR and VST32DIR, over the registry
# Each time the files are the tested DLLs, with the project version in their
# version resource and the copyright notice beside them, the installed
# druvo_x64.dll passes audio in the test host (druvo_demo.exe), and msiexec /x
# leaves no file, folder or registry entry of ours and every folder that was
# there before.
set -euo pipefail
cd "$(dirname "$0")/../.."

msi=$(ls build/release/druvo-*-windows.msi)
# A Windows path for wine's msiexec.
windows_path() { local path; path=$(realpath "$1"); echo "Z:${path//\//\\}"; }
WINEPREFIX=$(mktemp -d "$PWD/build/msi-test.XXXXXX")
export WINEPREFIX
work="$WINEPREFIX.work"
mkdir -p "$work"
fail() { echo "FAILED: $*" >&2; exit 1; }
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX" "$WINEPREFIX.lock" "$work"' EXIT
wine() { scripts/wine-run.sh "$@"; }
drive=$WINEPREFIX/drive_c
unix() { local path=${1//\\//}; echo "$drive/${path#C:/}"; }

# A product or upgrade code as the registry keeps it.
packed() {
  local g=${1//[\{\}-]/} out="" i
  g=${g^^}
  for i in 7 6 5 4 3 2 1 0 11 10 9 8 15 14 13 12; do out+=${g:i:1}; done
  for ((i = 16; i < 32; i += 2)); do out+=${g:i+1:1}${g:i:1}; done
  echo "$out"
}
old_code=0a0a0a0a-0000-4000-8000-000000000009
ours="druvo\\|$(packed "$old_code")"
property() { msiinfo export "$msi" Property | sed -n "s/^$1\t//p" | tr -d '\r'; }
for code in ProductCode UpgradeCode; do
  guid=$(property $code)
  [ "$guid" = "${guid^^}" ] || fail "$code $guid is not upper case"
  ours+="\\|$(packed "$guid")"
done
version=$(property ProductVersion)

# What the prefix holds of ours: its files and folders, and the registry
# lines naming Druvo or its codes once wine has written the registry out.
state() {
  wineserver -w
  (cd "$drive" && find . ! -path './windows/Installer*' | LC_ALL=C sort)
  grep -i "$ours" "$WINEPREFIX"/*.reg || true
}
set_hosts() {
  wine reg add 'HKLM\SOFTWARE\VST' /v VSTPluginsPath /d "$1" /reg:64 /f >/dev/null
  wine reg add 'HKLM\SOFTWARE\VST' /v VSTPluginsPath /d "$2" /reg:32 /f >/dev/null
}
clear_hosts() {
  wine reg delete 'HKLM\SOFTWARE\VST' /reg:64 /f >/dev/null
  wine reg delete 'HKLM\SOFTWARE\VST' /reg:32 /f >/dev/null
}

# installed DIR64 DIR32: both DLLs are the tested ones, and the 64-bit one
# delivers a bus and passes input through in the test host.
installed() {
  local dll64 dll32
  dll64=$(unix "$1")/druvo_x64.dll
  dll32=$(unix "$2")/druvo.dll
  [ "$(sha256sum < "$dll64")" = "$(sha256sum < build/windows-x64/druvo_x64.dll)" ] ||
    fail "$1\\druvo_x64.dll is not the tested DLL"
  [ "$(sha256sum < "$dll32")" = "$(sha256sum < build/windows-x86/druvo.dll)" ] ||
    fail "$2\\druvo.dll is not the tested DLL"
  for dll in "$1\\druvo_x64.dll" "$2\\druvo.dll"; do
    [ "$(wine cscript //nologo "$(windows_path "$work/version.vbs")" "$dll" | tr -d '\r')" = "$version.0" ] ||
      fail "$dll has no version resource of $version"
    cmp -s "$(unix "${dll%\\*}")/druvo-copyright.txt" packaging/copyright.txt ||
      fail "no copyright notice beside $dll"
  done
  wine build/windows-x64/tools/demo/druvo_demo.exe --plugin "$1\\druvo_x64.dll" --seconds 0.1 \
    --standin build/windows-x64/Moltrax.dll --out "$work/demo" > "$work/demo.log" 2>&1 ||
    fail "test host: $(cat "$work/demo.log")"
  grep -qE '^1 .*delivering all 6 channels +-12\.0' "$work/demo.log" &&
    grep -qE '^4 .*off: input passes through +-20\.0' "$work/demo.log" ||
    fail "installed druvo_x64.dll did not pass audio: $(cat "$work/demo.log")"
}
uninstalled() {
  wine msiexec /x "$(windows_path "$msi")" /qn || fail "msiexec /x failed"
  [ "$(state)" = "$clean" ] || fail "left behind after msiexec /x: $(diff <(echo "$clean") <(state))"
}

wine cmd /c exit
printf 'WScript.Echo CreateObject("Scripting.FileSystemObject").GetFileVersion(WScript.Arguments(0))\r\n' \
  > "$work/version.vbs"
mkdir -p "$drive/Program Files/Steinberg"
clean=$(state)

wine msiexec /i "$(windows_path "$msi")" /qn || fail "msiexec /i failed"
installed 'C:\Program Files\Steinberg\VstPlugins' 'C:\Program Files (x86)\Steinberg\VstPlugins'
# Apps: the publisher, the version and no Modify button.
wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$(property ProductCode)" \
  > "$work/apps.txt"
grep -q 'Publisher.*REG_SZ.*Druvo developers' "$work/apps.txt" && grep -q "DisplayVersion.*REG_SZ.*$version" "$work/apps.txt" &&
  grep -q 'NoModify.*REG_DWORD.*0x1' "$work/apps.txt" || fail "Apps entry: $(cat "$work/apps.txt")"
uninstalled
echo "MSI: default folders"

# An older Druvo (other files, same upgrade code) in the hosts' folders.
set_hosts 'C:\Hosts 64' 'C:\Hosts 32'
mkdir -p "$drive/Hosts 64" "$drive/Hosts 32"
clean=$(state)
wixl -a x64 -D Version=0.9.0 -D ProductCode=$old_code \
  -D Dll64=README.md -D Dll32=README.md -D Copyright=README.md -o "$work/old.msi" packaging/windows/druvo.wxs
grep -v '^--' packaging/windows/folders.sql | while IFS= read -r query; do msibuild "$work/old.msi" -q "$query"; done
wine msiexec /i "$(windows_path "$work/old.msi")" /qn || fail "msiexec /i of the older MSI failed"
wine msiexec /i "$(windows_path "$msi")" /qn || fail "msiexec /i over the older MSI failed"
installed 'C:\Hosts 64' 'C:\Hosts 32'
clear_hosts
uninstalled
echo "MSI: registered host folders, upgrade of an older version"

set_hosts 'C:\Hosts 64' 'C:\Hosts 32'
wine msiexec /i "$(windows_path "$msi")" /qn 'VST64DIR=C:\Given 64' 'VST32DIR=C:\Given 32' || fail "msiexec /i with folders failed"
installed 'C:\Given 64' 'C:\Given 32'
[ ! -e "$(unix 'C:\Hosts 64')/druvo_x64.dll" ] || fail "files went to the registered folder, not the given one"
uninstalled
echo "MSI: folders on the command line"
