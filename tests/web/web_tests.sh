#!/bin/bash
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# web_tests.sh [BUILD_DIR]: serves BUILD_DIR/site (build-web unless told otherwise) on
# 127.0.0.1 with python's http.server and walks through the page in headless Chromium
# (tests/web/web_test.py, on Debian's python3 with its selenium). Screenshots go to BUILD_DIR/screenshots/web-*.png. Ends with the
# browser test's verdict; the exit status says the same.
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$src/build-web}" && pwd)
[ -f "$build/site/quorblex.js" ] || { echo "no page in $build/site: build it first" >&2; exit 1; }

log=$(mktemp /tmp/quorblex-web-serve-XXXXXX)
# Port 0: the system picks a free one, which the server says on its first line.
/usr/bin/python3 -u -m http.server --bind 127.0.0.1 -d "$build/site" 0 >"$log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; rm -f "$log"' EXIT
port=""
for _ in $(seq 100); do
  port=$(sed -n 's/.*port \([0-9]*\).*/\1/p' "$log" | head -1)
  [ -n "$port" ] && break
  sleep 0.05
done
[ -n "$port" ] || { echo "the web server did not start" >&2; cat "$log" >&2; exit 1; }
/usr/bin/python3 "$src/tests/web/web_test.py" "http://127.0.0.1:$port/index.html" \
  "$build/screenshots" "$src/res/sounds"
