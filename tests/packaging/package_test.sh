#!/usr/bin/env bash
# Builds the .deb, installs it as a user's machine would, starts the program the way its
# menu entry does, and checks that it runs in the user's data folder. Removes it again.
set -euo pipefail
build=$1
[ -n "${DISPLAY:-}" ] || { echo "needs the test X display"; exit 1; }
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

work=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    "${sudo[@]}" dpkg -r vexlo >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

(cd "$build" && cpack -G DEB -B "$work" >/dev/null)
deb=$(ls "$work"/vexlo_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libreoffice-calc libreoffice-impress fonts-noto-cjk libqt6widgets6; do
    grep -q "$needed" <<<"$depends" || { echo "Depends lacks $needed: $depends"; exit 1; }
done

"${sudo[@]}" apt-get install -y -qq "$deb" >/dev/null
entry=/usr/share/applications/vexlo.desktop
[ -f "$entry" ] || { echo "no menu entry"; exit 1; }
grep -q '^Icon=vexlo$' "$entry"
[ -f /usr/share/icons/hicolor/scalable/apps/vexlo.svg ]
exec_line=$(sed -n 's/^Exec=//p' "$entry")

# A fresh user: the launcher makes the data folder and fills it.
export HOME="$work/home"
mkdir -p "$HOME"
unset XDG_DATA_HOME
$exec_line >"$work/out.txt" 2>&1 &
pid=$!
for _ in $(seq 150); do
    if xdotool search --name 'Kelvora工具  演讲计时与随机抽签' >/dev/null 2>&1; then break; fi
    sleep 0.1
done
xdotool search --name 'Kelvora工具  演讲计时与随机抽签' >/dev/null || { echo "program did not start"; cat "$work/out.txt"; exit 1; }
for f in name.xls name1.xls MYPPT.ppt Note1.PPT Note2.PPT start.wav; do
    [ -f "$HOME/.local/share/vexlo/$f" ] || { echo "missing $f in the user's data folder"; exit 1; }
done
[ "$(readlink -f /proc/$pid/cwd)" = "$(readlink -f "$HOME/.local/share/vexlo")" ] ||
    { echo "not started in the data folder"; exit 1; }
echo "package installed, started from its menu entry, removed"
