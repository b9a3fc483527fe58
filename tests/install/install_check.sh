#!/usr/bin/env bash
# Installs a build under an unusual prefix (with a space) into a staging folder and checks what
# a Linux desktop reads: the desktop entry, the AppStream metainfo, the information-file type,
# the manual pages and the icons; then starts the window through the installed entry, as a
# file manager opening an information file would. Usage: install_check.sh BUILD_DIR
# Exits 77 (skipped) when a checking tool is missing.
set -u
build=${1:?build folder}
prefix="/opt/tirrel test"
id=cn.tirrel.Tirrel

for tool in desktop-file-validate appstreamcli update-mime-database groff gio; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

tmp=$(mktemp -d)
pid=
cleanup() {
    [[ -n $pid ]] && kill "$pid" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

stage="$tmp/stage"
root="$stage$prefix"
DESTDIR="$stage" cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" ||
    { cat "$tmp/install.log"; exit 1; }
entry="$root/share/applications/$id.desktop"

desktop-file-validate "$entry" || fail "desktop entry"
appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml" >"$tmp/as.log" ||
    { cat "$tmp/as.log"; fail "metainfo"; }
[[ -z $(XDG_DATA_DIRS="$root/share" update-mime-database "$root/share/mime" 2>&1) ]] ||
    fail "MIME package"
for page in tirrel tirrel-cli; do
    man="$root/share/man/man1/$page.1"
    warnings=$(LC_ALL=C.UTF-8 groff -k -man -Tutf8 -ww -z "$man" 2>&1)
    [[ -f $man && -z $warnings ]] || fail "manual page $page: ${warnings:-missing}"
done

icons="$root/share/icons/hicolor"
[[ -s $icons/scalable/apps/$id.svg ]] || fail "scalable icon"
for size in 48 256; do
    png="$icons/${size}x$size/apps/$id.png"
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    read -r -a wh < <(od -An -tu1 -j16 -N8 "$png" 2>/dev/null)
    (( ${#wh[@]} == 8 )) &&
        (( (wh[2] << 8 | wh[3]) == size && (wh[6] << 8 | wh[7]) == size )) ||
        fail "icon of $size px"
done
grep -qx "Icon=$id" "$entry" || fail "the entry names another icon"

# The entry, moved with the staged files: only the paths it was installed with change, so
# one it did not name (a fixed folder, a program found through PATH) stays unreachable.
moved="$tmp/$id.desktop"
sed "/^Exec=/s|\"$prefix/|\"$root/|g" "$entry" >"$moved"

export HOME="$tmp/home" QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
folder="$HOME/.local/share/tirrel"
mkdir -p "$folder"
# No update check: the service address is one the program cannot split.
printf '[Sembrano]\r\nUpdateUrl=none\r\n' >"$folder/Sembrano.ini"
card="$tmp/card.sig"
"$root/bin/tirrel-cli" make --dialect 101 --tab 0 N=张三 --save-sig "$card" ||
    fail "the installed tirrel-cli"

gio launch "$moved" "$card" 2>"$tmp/window.log" || fail "gio launch"
for _ in $(seq 50); do
    for exe in /proc/[0-9]*/exe; do
        [[ $(readlink "$exe" 2>/dev/null) == "$root/bin/tirrel" ]] && pid=${exe//[^0-9]/}
    done
    [[ -n $pid ]] && break
    sleep 0.2
done
if [[ -z $pid ]]; then
    fail "the entry started no window"
else
    sleep 2
    kill -0 "$pid" 2>/dev/null || fail "the window did not stay open"
    [[ $(readlink "/proc/$pid/cwd") == "$folder" ]] || fail "the window runs elsewhere"
    tr '\0' '\n' <"/proc/$pid/cmdline" | grep -qx "$card" || fail "the file was not passed on"
fi
cmp -s "$folder/736-60.swf" "$root/share/tirrel/736-60.swf" || fail "the banner was not copied"
exit $status
