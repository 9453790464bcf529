#!/usr/bin/env bash
# Builds the tool. The editor itself arrives with the main window; until then this only builds.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/scripts/build.sh" "$root/build"
editor="$root/build/src/app/KavrinoTranslationTool"
if [ ! -x "$editor" ]; then
    echo "run.sh: built the libraries and tests in build/; the editor is not part of this build yet."
    exit 0
fi
