#!/usr/bin/env bash
# Builds and tests the three shipped presets, then makes the release files in
# build/release/ from exactly the files those tests ran:
#   druvo-VERSION-linux-x86_64.tar.gz  druvo.so, README.txt, druvo-copyright.txt, SHA256SUMS
#   druvo-VERSION-windows.zip          druvo.dll (32-bit), druvo_x64.dll, README.txt,
#                                      druvo-copyright.txt, SHA256SUMS
#   druvo-VERSION-windows.msi          installer for both DLLs and the copyright notice
#                                      (packaging/windows/druvo.wxs)
#   druvo_VERSION_amd64.deb            druvo.so in /usr/lib/lxvst (packaging/debian/)
# README.txt is the README's "Using Druvo in a host" for that system;
# druvo-copyright.txt is
# packaging/copyright.txt, also the package's copyright file.
# --tested: pack the presets' current builds without building or testing them
# again (scripts/test.sh does so right after testing them).
# The same commit gives the same bytes in any folder: every time stamp is the
# commit's (SOURCE_DATE_EPOCH), members are sorted, owners are root.
set -euo pipefail
cd "$(dirname "$0")/.."

SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || stat -c %Y CMakeLists.txt)
export SOURCE_DATE_EPOCH
if [ "${1:-}" != --tested ]; then
  scripts/test.sh linux windows-x64 windows-x86
fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/linux/CMakeCache.txt)
release=build/release
stage=build/release-stage
rm -rf "$release" "$stage"
mkdir -p "$release" "$stage"

# stage NAME OTHER FILES...: a folder NAME with the files, the copyright
# notice, the usage text without the paragraph on the OTHER system, and their
# checksums, every file dated to the commit.
stage() {
  local folder="$stage/$1" other=$2
  shift 2
  mkdir -p "$folder"
  cp "$@" "$folder/"
  cp packaging/copyright.txt "$folder/druvo-copyright.txt"
  awk '/^## /{keep = ($0 == "## Using Druvo in a host")} keep' README.md |
    awk -v other="**$other.**" 'BEGIN { RS = ""; ORS = "\n\n" } index($0, other) != 1' > "$folder/README.txt"
  (cd "$folder" && sha256sum -- * > SHA256SUMS)
  chmod -R u=rwX,go=rX "$folder"
  find "$folder" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
}

linux="druvo-$version-linux-x86_64"
stage "$linux" Windows build/linux/druvo.so
tar -C "$stage" --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 --numeric-owner \
  --format=gnu -cf - "$linux" | gzip -9n > "$release/$linux.tar.gz"

windows="druvo-$version-windows"
stage "$windows" Linux build/windows-x86/druvo.dll build/windows-x64/druvo_x64.dll
python3 - "$stage" "$windows" "$release/$windows.zip" <<'EOF'
# Sorted members, the commit's time, fixed modes, no extra fields.
import os, sys, time, zipfile
root, name, out = sys.argv[1:]
stamp = time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"]))[:6]
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
    for file in sorted(os.listdir(os.path.join(root, name))):
        member = zipfile.ZipInfo(f"{name}/{file}", stamp)
        member.external_attr = 0o644 << 16
        member.compress_type = zipfile.ZIP_DEFLATED
        with open(os.path.join(root, name, file), "rb") as data:
            archive.writestr(member, data.read())
EOF
echo "$release/$linux.tar.gz"
echo "$release/$windows.zip"

# The MSI: wixl stamps the build time and a random package code into the
# summary; the time comes from the commit instead, the product code from the
# version (a new version is a major upgrade), and the package code from the
# finished package's bytes: any other content, version or table gives another.
guid() { sha256sum | sed -E 's/^(.{8})(.{4})(.{4})(.{4})(.{12}).*/\1-\2-\3-\4-\5/;s/.*/\U&/'; }
product_code=$(printf 'druvo %s' "$version" | guid)
commit_time=$(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S')
msi="$release/$windows.msi"
TZ=UTC faketime -f "@$commit_time" wixl -a x64 -D Version="$version" -D ProductCode="$product_code" \
  -D Dll64="$stage/$windows/druvo_x64.dll" -D Dll32="$stage/$windows/druvo.dll" \
  -D Copyright="$stage/$windows/druvo-copyright.txt" -o "$msi" packaging/windows/druvo.wxs
# What wixl cannot write: the folder rows, and the DLLs as versioned files
# (their version resource carries the project version).
grep -v '^--' packaging/windows/folders.sql | while IFS= read -r query; do
  TZ=UTC faketime -f "@$commit_time" msibuild "$msi" -q "$query"
done
for dll in druvo_x64.dll druvo.dll; do
  TZ=UTC faketime -f "@$commit_time" msibuild "$msi" -q "UPDATE \`File\` SET \`Version\` = '$version.0' WHERE \`File\` = '$dll'"
  TZ=UTC faketime -f "@$commit_time" msibuild "$msi" -q "DELETE FROM \`MsiFileHash\` WHERE \`File_\` = '$dll'"
done
summary() { TZ=UTC faketime -f "@$commit_time" msibuild "$msi" -s Druvo "Druvo developers" "x64;1033" "{$1}"; }
summary 00000000-0000-0000-0000-000000000000
summary "$(guid < "$msi")"
echo "$msi"

# The Debian package: the tested druvo.so where Linux VST hosts look, its
# dependencies from the libraries it links.
root="$stage/druvo_deb"
mkdir -p "$root/DEBIAN" "$root/usr/lib/lxvst" "$root/usr/share/doc/druvo" "$stage/shlibs/debian"
install -m 644 build/linux/druvo.so "$root/usr/lib/lxvst/druvo.so"
install -m 644 "$stage/$linux/README.txt" "$root/usr/share/doc/druvo/"
install -m 644 packaging/copyright.txt "$root/usr/share/doc/druvo/copyright"
printf 'druvo (%s) unstable; urgency=medium\n\n  * Release %s.\n\n -- %s  %s\n' "$version" "$version" \
  "$(sed -n 's/^Maintainer: //p' packaging/debian/control)" \
  "$(date -u -R -d "@$SOURCE_DATE_EPOCH")" | gzip -9n > "$root/usr/share/doc/druvo/changelog.gz"
printf 'Source: druvo\n\nPackage: druvo\nArchitecture: amd64\n' > "$stage/shlibs/debian/control"
depends=$(cd "$stage/shlibs" && dpkg-shlibdeps -O "$OLDPWD/$root/usr/lib/lxvst/druvo.so" |
  sed -n 's/^shlibs:Depends=//p')
# Installed-Size as dpkg-gencontrol counts it: each file's size rounded up to
# whole KiB, 1 KiB per folder; not the blocks a file system happens to allocate.
size=$(find "$root" -path "$root/DEBIAN" -prune -o \( -type f -o -type l \) -printf 'f %s\n' -o -printf 'd\n' |
  awk '{ kib += $1 == "f" ? int(($2 + 1023) / 1024) : 1 } END { print kib }')
sed -e "s/@VERSION@/$version/" -e "s/@SIZE@/$size/" -e "s/@DEPENDS@/$depends/" \
  packaging/debian/control > "$root/DEBIAN/control"
(cd "$root" && find usr -type f | LC_ALL=C sort | xargs md5sum > DEBIAN/md5sums)
chmod 644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
find "$root" -type d -exec chmod 755 {} +
find "$root" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
deb="$release/druvo_${version}_amd64.deb"
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
lintian --fail-on error,warning "$deb"
echo "$deb"
rm -rf "$stage"
