#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the fonts need.
# Idempotent: returns at once when everything is there. Works as root or through sudo.
set -euo pipefail

PACKAGES=(
    g++ make cmake ninja-build pkg-config ccache
    qt6-base-dev qt6-base-dev-tools
    fonts-liberation2 fontconfig fonts-dejavu-core fonts-tlwg-loma-ttf
    xvfb xauth
    # A window manager on the X server of the tests where windows meet (stacking, focus).
    openbox
    clang libclang-rt-14-dev
    gettext
    # CAT-tool peers that read the XLIFF, PO, TMX and PDF exports back.
    translate-toolkit qt6-l10n-tools poppler-utils
    # Poedit opens the PO export on the tests' X server; xdotool finds its windows there.
    poedit xdotool
    # Wine's command interpreter runs the resource build batch; the tests run it there with
    # stand-in compilers that mingw-w64 builds as Windows programs.
    wine wine64 gcc-mingw-w64-x86-64
    # LibreOffice re-saves exported RTF documents that the import must read back.
    libreoffice-writer-nogui
    # Spelling: Hunspell and the dictionaries the spelling tests check in.
    libhunspell-dev hunspell-de-de hunspell-fr hunspell-ru hunspell-pl hunspell-el hunspell-tr
    hunspell-es hunspell-it
    # The package test: cpack's dependency lookup, and the checks of the installed files.
    dpkg-dev desktop-file-utils appstream man-db groff-base
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
        SUDO="sudo"
    else
        echo "install-deps: not root and no sudo; please install: ${missing[*]}" >&2
        exit 1
    fi
fi

export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
