#!/usr/bin/env bash
# Opens a PO file in Poedit on its own X server (Xvfb, under openbox) as a translator would, and
# says what it showed: exit 0 when its main window came up named after the file and no other
# window (an error box) did; 1 with the windows' titles otherwise; 2 when a tool is missing.
# Usage: poedit-opens.sh FILE.po
set -euo pipefail
for tool in xvfb-run openbox xdotool poedit; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "poedit-opens.sh: $tool is missing (scripts/install-deps.sh installs it)" >&2
        exit 2
    fi
done
file="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
exec env HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
    XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$home" \
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    file=$1
    openbox --sm-disable >/dev/null 2>&1 &
    manager=$!
    sleep 1
    poedit "$file" >"$HOME/poedit.log" 2>&1 &
    poedit=$!
    titles() { for id in $(xdotool search --onlyvisible --pid "$poedit" 2>/dev/null); do
        xdotool getwindowname "$id"; done; }
    # "Kavr_FRA.po - Poedit", or with the project the header names: "Kavr_FRA.po • X - Poedit".
    name="$(basename "$file")"
    named() { while IFS= read -r title; do
        case "$title" in "$name - Poedit" | "$name • "*" - Poedit") return 0 ;; esac
        done; return 1; }
    status=1
    for _ in $(seq 1 60); do
        if titles | named; then status=0; break; fi
        sleep 0.5
    done
    # An error box follows the main window: give it the time it takes.
    sleep 3
    shown="$(titles)"
    if [ "$status" -eq 0 ] && [ "$(printf "%s\n" "$shown" | grep -c .)" -ne 1 ]; then
        status=1
    fi
    echo "windows: ${shown//$'\''\n'\''/; }"
    kill "$poedit" 2>/dev/null || true
    wait "$poedit" 2>/dev/null || true
    kill "$manager" 2>/dev/null || true
    exit "$status"' poedit-opens "$file"
