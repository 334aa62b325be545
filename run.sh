#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and starts Quorblex Pro. Without a graphical display it
# says so and plays a short demo on the simulator instead.
set -euo pipefail
cd "$(dirname "$0")"
source tools/packages.sh
install_missing "${RUN_PACKAGES[@]}"

# The same build folder and configuration as ./test.sh, so neither rebuilds what the other built.
configure_build
cmake --build build -j"$(nproc)" --target quorblex-sim quorblex

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/quorblex
fi
echo "No graphical display found (DISPLAY and WAYLAND_DISPLAY are unset)."
echo "Playing a short demo on the simulator instead: a full scan, on virtual time."
echo
exec build/quorblex-sim --seed 5000 --profile tools/demo.ini tools/demo.script
