#!/usr/bin/env bash
# Regenerates docs/screenshot.png: the editor with the French sample, rendered offscreen.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh" "$root/build"
mkdir -p "$root/docs"
QT_QPA_PLATFORM=offscreen "$root/build/bin/KavrinoTranslationTool" \
    --screenshot "$root/docs/screenshot.png" "$root/build/bin/Language/Kavr_FRA.str" 2>/dev/null
echo "wrote docs/screenshot.png"
