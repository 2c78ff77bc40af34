#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh, with lintian), validates its menu entry
# and metadata, installs it into a scratch root and checks the installed program: the
# command line's --version, --help and texts, and a start of the configurator on the
# offscreen platform with HOME in a temporary folder, whose workspace must appear in the
# per-user data folder with LANGUAGE seeded. The package is installed with dpkg -i only
# when run as root with CI set (a disposable machine), and removed afterwards; otherwise
# it is unpacked with dpkg -x into a temporary folder.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/package.sh
deb=$(ls build/release/swr2305_*_amd64.deb)
version=$(dpkg-deb -f "$deb" Version)
version=${version%-*} # the program's version, without the package's revision
app_id=example.norvex.swr2305
work=$(mktemp -d)
installed=""
cleanup() {
  if [ -n "$installed" ]; then dpkg -r swr2305 >/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "package-check: $*" >&2; exit 1; }

if [ "$(id -u)" -eq 0 ] && [ -n "${CI:-}" ]; then
  dpkg -i "$deb" >/dev/null
  installed=1
  prefix=""
else
  dpkg -x "$deb" "$work/root"
  prefix="$work/root"
fi
bin="$prefix/usr/bin"
share="$prefix/usr/share"

# libmosquitto and OpenSSL are opened at run time, not linked: dpkg-shlibdeps cannot see
# them, so the package must name them itself (packaging/CMakeLists.txt).
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libmosquitto1 libssl3; do
  grep -qE "(^|, )$lib( |,|\$)" <<<"$depends" || fail "Depends does not name $lib: $depends"
done

desktop-file-validate "$share/applications/$app_id.desktop"
appstreamcli validate --no-net --explain "$share/metainfo/$app_id.metainfo.xml" >"$work/appstream.txt" ||
  { cat "$work/appstream.txt" >&2; fail "the metadata does not validate"; }

[ "$("$bin/swr2305-cli" --version)" = "swr2305-cli $version" ] || fail "swr2305-cli --version"
"$bin/swr2305-cli" --help | grep -q '^usage: swr2305-cli' || fail "swr2305-cli --help"
[ "$("$bin/swr2305" --version)" = "swr2305 $version" ] || fail "swr2305 --version"
# The table the command line prints is the English file the package ships, without its mark.
"$bin/swr2305-cli" texts >"$work/texts.txt"
[ "$(wc -l <"$work/texts.txt")" -eq 1600 ] || fail "texts: not 1600 lines"
tail -c +4 "$share/swr2305/LANGUAGE/English.lng" | cmp -s - "$work/texts.txt" ||
  fail "texts differs from the shipped English.lng"

# The configurator on a fresh HOME: it ends on its own after the time-out.
home="$work/home"
mkdir -p "$home"
status=0
env -i PATH="$bin:/usr/bin:/bin" HOME="$home" QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 \
  timeout 8 "$bin/swr2305" >"$work/gui.txt" 2>&1 || status=$?
[ "$status" -eq 124 ] || { cat "$work/gui.txt" >&2; fail "swr2305 ended with status $status before the time-out"; }
data="$home/.local/share/Norvex/SWR2305"
for folder in MASTER PROJECTS LANGUAGE; do
  [ -d "$data/$folder" ] || fail "no $folder in $data"
done
for file in English.lng Italiano.lng Deutsch.lng English.bmp Italiano.bmp Deutsch.bmp DefaultFlag.bmp; do
  cmp -s "$share/swr2305/LANGUAGE/$file" "$data/LANGUAGE/$file" || fail "LANGUAGE/$file not seeded"
done
[ ! -e "$bin/MASTER" ] || fail "the workspace was made beside the executable"
echo "package-check: $deb installed and checked"
