#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package of a configured build folder (again only when what goes into it has
# changed) and checks it as a packager and a user would meet it: file name and list, control
# fields, lintian, the desktop entry, the AppStream metadata, the man pages, and the programs run
# from a copy unpacked into a temporary folder (they must find their data beside themselves).
# Installs nothing.
#
#   tools/check_package.sh BUILD_DIR
#
# Exits non-zero naming every check that failed.
set -uo pipefail

build=${1:?usage: tools/check_package.sh BUILD_DIR}
failed=()
fail() { failed+=("$1"); echo "FAILED: $1" >&2; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
desktop=$(sed -n 's/^QUORBLEX_DESKTOP:BOOL=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
deb="$build/quorblex_${version}_${arch}.deb"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The package is made again only when what goes into it has changed: every file the install
# rules put down (its bytes, mode and link), the install rules, CPack's settings, and the
# system's installed packages, which dpkg-shlibdeps reads for the dependencies.
cmake --build "$build" >"$build/package.log" 2>&1 &&
  DESTDIR="$tmp/inputs" cmake --install "$build" >>"$build/package.log" 2>&1 ||
  { cat "$build/package.log" >&2; echo "FAILED: building and staging $build" >&2; exit 1; }
inputs=$( (cd "$tmp/inputs" &&
           find . \( -type f -o -type l \) -printf '%p %m %l\n' | LC_ALL=C sort &&
           find . -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum) &&
         find "$build" -name cmake_install.cmake -print0 | LC_ALL=C sort -z | xargs -0 cat &&
         cat "$build/CPackConfig.cmake" /var/lib/dpkg/status)
inputs=$(sha256sum <<<"$inputs" | cut -d' ' -f1)
rm -rf "$tmp/inputs"
if [ -f "$deb" ] && [ "$(cat "$deb.inputs" 2>/dev/null)" = "$inputs" ]; then
  echo "The package's inputs are unchanged since $deb was made: it is checked as it is"
else
  rm -f "$deb.inputs"
  cmake --build "$build" --target package >"$build/package.log" 2>&1 ||
    { cat "$build/package.log" >&2; echo "FAILED: cmake --build $build --target package" >&2; exit 1; }
  [ -n "$version" ] && [ -f "$deb" ] && echo "$inputs" >"$deb.inputs"
fi
if [ -z "$version" ] || [ ! -f "$deb" ]; then
  echo "FAILED: no package at $deb" >&2
  exit 1
fi
# Every checker must be there: a check whose tool is missing has not passed.
tools=(lintian mandoc groff)
[ "$desktop" = ON ] && tools+=(desktop-file-validate appstreamcli)
for tool in "${tools[@]}"; do
  command -v "$tool" >/dev/null || fail "$tool is missing (tools/packages.sh lists its package)"
done
# lintian is the slowest check: it runs alongside the others.
lintian --tag-display-limit 0 "$deb" >"$tmp/lintian" 2>&1 &
lintian_pid=$!

# ---- File list ------------------------------------------------------------------------------
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$tmp/files"
expected=(/usr/bin/quorblex-sim /usr/games/quorblex-sim /usr/share/quorblex/qx.avi /usr/share/quorblex/quorblex.html
          /usr/share/quorblex/welcome.wav /usr/share/quorblex/scanning.wav
          /usr/share/man/man6/quorblex-sim.6.gz
          /usr/share/doc/quorblex/copyright /usr/share/doc/quorblex/changelog.gz)
if [ "$desktop" = ON ]; then
  expected+=(/usr/bin/quorblex /usr/games/quorblex /usr/share/applications/quorblex.desktop
             /usr/share/metainfo/io.github.quorblex.Quorblex.metainfo.xml
             /usr/share/man/man6/quorblex.6.gz)
  for size in 16 24 32 48 64 128 256; do
    expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/quorblex.png")
  done
fi
for f in "${expected[@]}"; do
  grep -qxF "$f" "$tmp/files" || fail "file list: $f is missing"
done
stray=$(grep -v -E '^/(usr/?|usr/(bin|games|share)(/.*)?)$' "$tmp/files")
[ -z "$stray" ] || fail "file list: outside /usr/bin, /usr/games and /usr/share: $stray"

# ---- Control fields -------------------------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = quorblex ] || fail "control: Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "control: Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$arch" ] || fail "control: Architecture is '$(field Architecture)'"
[ "$(field Section)" = games ] || fail "control: Section is '$(field Section)', not games"
[ -n "$(field Maintainer)" ] || fail "control: no Maintainer"
[ "$(field Description | wc -l)" -ge 3 ] || fail "control: Description has no long part"
depends=$(field Depends)
needed=(libc6 libstdc++6)
[ "$desktop" = ON ] && needed+=(libqt6core6 libqt6gui6 libqt6widgets6 libsdl2-2.0-0 fonts-dejavu-core
                            fonts-dejavu-extra)
named=$(tr ',' '\n' <<<"$depends" | awk '{print $1}')
for lib in "${needed[@]}"; do
  grep -qxF "$lib" <<<"$named" || fail "control: Depends does not name $lib: $depends"
done

# ---- Unpacked: metadata and man pages ---------------------------------------------------------
root="$tmp/root"
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x"
if [ "$desktop" = ON ]; then
  desktop-file-validate "$root/usr/share/applications/quorblex.desktop" ||
    fail "desktop-file-validate quorblex.desktop"
  appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.quorblex.Quorblex.metainfo.xml" \
    >"$tmp/appstream" 2>&1 || { cat "$tmp/appstream"; fail "appstreamcli validate"; }
fi
for page in "$root"/usr/share/man/man6/*.6.gz; do
  name=$(basename "$page" .gz)
  zcat "$page" >"$tmp/$name"
  out=$(groff -ww -z -man "$tmp/$name" 2>&1)
  [ -z "$out" ] || fail "groff -ww -man $name: $out"
  out=$(mandoc -T lint -W warning "$tmp/$name" 2>&1)
  status=$?
  [ $status -eq 0 ] && [ -z "$out" ] || fail "mandoc -T lint $name (status $status): $out"
done

# ---- Unpacked: the programs run from where they lie -------------------------------------------
# From an empty folder, so that only the data beside the programs can be found.
mkdir "$tmp/cwd"
transcript=$(cd "$tmp/cwd" &&
  printf 'click 1000\nwait 20000\n' | "$root/usr/bin/quorblex-sim" --seed 3)
status=$?
[ $status -eq 0 ] || fail "unpacked quorblex-sim exits $status"
grep -q '^0 clip open "qx.avi" ok$' <<<"$transcript" ||
  fail "unpacked quorblex-sim does not find its clip"
grep -q ' sound "scanning.wav" sync$' <<<"$transcript" ||
  fail "unpacked quorblex-sim does not find its cues"
grep -q ' missing' <<<"$transcript" && fail "unpacked quorblex-sim misses a data file"
[ "$("$root/usr/bin/quorblex-sim" --version | head -n1)" = "quorblex-sim (Quorblex Pro) $version" ] ||
  fail "unpacked quorblex-sim --version"
if [ "$desktop" = ON ]; then
  out=$(cd "$tmp/cwd" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    "$root/usr/bin/quorblex" --version | head -n1)
  [ "$out" = "quorblex (Quorblex Pro) $version" ] || fail "unpacked quorblex --version said '$out'"
fi

# ---- lintian: no errors (warnings are listed) -------------------------------------------------
# lintian exits 0 only when it checked the package and found no error: a lintian that is missing
# or crashed fails here as surely as one that reports an error.
wait "$lintian_pid"
lintian_status=$?
grep -v 'running with root privileges' "$tmp/lintian" | sed 's/^/  lintian: /'
if grep -q '^E: ' "$tmp/lintian"; then
  fail "lintian reports errors"
elif [ "$lintian_status" -ne 0 ]; then
  fail "lintian exits $lintian_status"
fi

if [ ${#failed[@]} -gt 0 ]; then
  echo "Package check of $deb failed:" >&2
  printf '  %s\n' "${failed[@]}" >&2
  exit 1
fi
echo "Package check passed: $deb"
