#!/usr/bin/env bash
# Runs a test program on a real X server (Xvfb) under a window manager (openbox), where the
# stacking of windows and the keyboard focus between them behave as on a translator's desktop.
set -euo pipefail
for tool in xvfb-run openbox; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "run-on-x.sh: $tool is missing (scripts/install-deps.sh installs it)" >&2
        exit 1
    fi
done
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    openbox --sm-disable >/dev/null 2>&1 &
    manager=$!
    sleep 1
    QT_QPA_PLATFORM=xcb "$@"
    status=$?
    kill "$manager" 2>/dev/null || true
    exit "$status"' run-on-x "$@"
