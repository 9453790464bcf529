#!/bin/sh
# Prepares the Wine prefix in which the build-batch tests run the batch: created on the first
# run (wineboot takes a while), brought up to date on later ones. Without Wine there is nothing
# to prepare and those tests skip, unless KAV_REQUIRE_PEERS says the machine must have it.
set -eu
if ! command -v wine >/dev/null 2>&1 || ! command -v wineboot >/dev/null 2>&1; then
    if [ -n "${KAV_REQUIRE_PEERS:-}" ]; then
        echo "wine-prefix: Wine is not installed (scripts/install-deps.sh installs it)" >&2
        exit 1
    fi
    echo "wine-prefix: Wine is not installed; the batch is not run"
    exit 0
fi
: "${WINEPREFIX:?the tests give the prefix folder}"
mkdir -p "$WINEPREFIX"
wineboot --init >/dev/null 2>&1
# The prefix is ready only when the server has written everything and ended.
wineserver --wait
echo "wine-prefix: $WINEPREFIX ready"
