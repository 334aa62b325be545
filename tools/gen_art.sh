#!/bin/sh
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Rebuilds the committed pictures in res/ (bitmaps, icon, scanning clip) with tools/artgen.
# Needs g++, libgtest-dev (for the generator's own tests) and ImageMagick's convert.
#
#   tools/gen_art.sh [--skip-tests]
# shellcheck disable=SC2086  # $CXXFLAGS and $objs are word lists on purpose (no spaces in paths)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
src="$root/tools/artgen"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM

CXX=${CXX:-g++}
CXXFLAGS="-std=c++20 -O2 -Wall -Wextra -Werror"
parts="raster palette writers small portrait board clip resources"

objs=""
for part in $parts; do
  $CXX $CXXFLAGS -c "$src/$part.cpp" -o "$tmp/$part.o"
  objs="$objs $tmp/$part.o"
done

if [ "${1:-}" != "--skip-tests" ]; then
  $CXX $CXXFLAGS "$src/artgen_test.cpp" $objs -lgtest -lgtest_main -pthread -o "$tmp/artgen_test"
  "$tmp/artgen_test" --gtest_brief=1
fi

$CXX $CXXFLAGS "$src/artgen.cpp" $objs -o "$tmp/artgen"
"$tmp/artgen" "$root/res" "$tmp/pam"

# Full-colour PNG copies of the icon for desktop launchers, drawn at each size (no scaling).
# Dates are left out so a rebuild gives the same bytes.
for size in 16 24 32 48 64 128 256; do
  convert "$tmp/pam/quorblex-$size.pam" -strip -define png:exclude-chunks=date,time \
    "PNG32:$root/res/icons/quorblex-$size.png"
  echo "icons/quorblex-$size.png"
done
