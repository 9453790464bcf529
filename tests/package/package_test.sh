#!/usr/bin/env bash
# Packs the build tree with cpack into a Debian package, unpacks it into a temporary root and
# checks that the installed programs work from there: versions, kavtool stats on the installed
# sample (same result as the build tree's kavtool), the editor rendered offscreen without a
# missing-Default warning (the user's data folder is seeded from the installed data), the
# desktop entry, the AppStream metainfo, the man pages and the bash completion.
# Usage: package_test.sh BUILD_DIR VERSION
set -euo pipefail
build="$1"
version="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
    echo "package_test: $*" >&2
    exit 1
}

if ! (cd "$build" && cpack -G DEB -B "$work/out") >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    fail "cpack failed"
fi
deb="$(ls "$work"/out/*.deb)"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
grep -q 'libqt6widgets6' <<<"$depends" || fail "the package does not depend on Qt Widgets"

dpkg-deb -x "$deb" "$work/root"
usr="$work/root/usr"
share="$usr/share/KavrinoTranslationTool"
for f in bin/KavrinoTranslationTool bin/kavtool share/KavrinoTranslationTool/guide.html \
    share/KavrinoTranslationTool/Default/Kavr_ENU.str \
    share/icons/hicolor/scalable/apps/io.github.kavrino.KavrinoTranslationTool.svg \
    share/man/man1/kavtool.1 share/man/man1/KavrinoTranslationTool.1 \
    share/bash-completion/completions/kavtool; do
    [ -e "$usr/$f" ] || fail "missing /usr/$f"
done

# A home of our own: the user's data folder is created in it.
export HOME="$work/home" XDG_DATA_HOME="$work/home/data" XDG_CONFIG_HOME="$work/home/config"
export XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

[ "$("$usr/bin/kavtool" --version)" = "kavtool $version" ] || fail "kavtool --version"
[ "$("$usr/bin/KavrinoTranslationTool" --version)" = "KavrinoTranslationTool $version" ] ||
    fail "KavrinoTranslationTool --version"

sample="$share/Language/Kavr_FRA.str"
"$usr/bin/kavtool" stats "$sample" >"$work/stats.installed"
"$build/bin/kavtool" --home "$build/bin" stats "$sample" >"$work/stats.build"
cat "$work/stats.installed"
diff "$work/stats.build" "$work/stats.installed" || fail "installed kavtool stats differ"
user="$XDG_DATA_HOME/KavrinoTranslationTool"
cmp "$share/Default/Kavr_ENU.str" "$user/Default/Kavr_ENU.str" ||
    fail "the user's folder was not seeded from the installed data"

"$usr/bin/KavrinoTranslationTool" --screenshot "$work/shot.png" "$user/Language/Kavr_FRA.str" \
    2>"$work/editor.err" || {
    cat "$work/editor.err" >&2
    fail "the editor did not render"
}
if grep -q "not found" "$work/editor.err"; then
    cat "$work/editor.err" >&2
    fail "the editor warned at start"
fi
[ "$(head -c 8 "$work/shot.png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] ||
    fail "the screenshot is no PNG"
[ "$(stat -c %s "$work/shot.png")" -gt 20000 ] || fail "the screenshot is nearly empty"

desktop-file-validate "$usr/share/applications/io.github.kavrino.KavrinoTranslationTool.desktop"
appstreamcli validate --no-net \
    "$usr/share/metainfo/io.github.kavrino.KavrinoTranslationTool.metainfo.xml"
for page in kavtool KavrinoTranslationTool; do
    warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$usr/share/man/man1/$page.1" 2>&1 >/dev/null)"
    [ -z "$warnings" ] || fail "man page $page: $warnings"
done
bash -n "$usr/share/bash-completion/completions/kavtool" || fail "bash completion"
echo "package_test: $(basename "$deb") ok"
