#!/usr/bin/env bash
# Builds the tool and starts the editor on the French sample. Without a display the window is
# rendered offscreen into screenshot.png instead.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/scripts/build.sh" "$root/build"
bin="$root/build/bin"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$bin/KavrinoTranslationTool" "$bin/Language/Kavr_FRA.str" "$@"
fi
QT_QPA_PLATFORM=offscreen "$bin/KavrinoTranslationTool" --screenshot "$root/screenshot.png" \
    "$bin/Language/Kavr_FRA.str" 2>/dev/null
echo "run.sh: no display; the editor with Language/Kavr_FRA.str was rendered to $root/screenshot.png"
