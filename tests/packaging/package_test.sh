#!/usr/bin/env bash
# Builds the .deb, installs it as a user's machine would, starts the program the way its
# menu entry does, and checks that the install finisher's window comes first, then the
# program, in the user's data folder. Removes it again. With VEXLO_SCREENSHOTS set to a
# folder, a screenshot of each window is left there.
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
grep -q '^Exec=vexlo --open-data-folder$' "$entry" || { echo "no action that opens the data folder"; exit 1; }
[ -f /usr/share/icons/hicolor/scalable/apps/vexlo.svg ]
[ -f /usr/share/vexlo/help/index.html ] || { echo "no help page for the logo to open"; exit 1; }
exec_line=$(sed -n 's/^Exec=//p' "$entry")

# A fresh user: the launcher makes the data folder and fills it.
export HOME="$work/home"
mkdir -p "$HOME"
unset XDG_DATA_HOME
$exec_line >"$work/out.txt" 2>&1 &
pid=$!
finisher='Kelvora软件安装程序'
program='Kelvora工具  演讲计时与随机抽签'
# wait_for TITLE SECONDS
wait_for() {
    for _ in $(seq $(($2 * 10))); do
        xdotool search --name "$1" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}
# shot NAME SETTLE_SECONDS: only when screenshots are asked for, after the window settled
shot() { [ -z "${VEXLO_SCREENSHOTS:-}" ] || { sleep "$2"; import -window root "$VEXLO_SCREENSHOTS/$1.png"; }; }
[ -x /usr/lib/vexlo/Vexlo ] || { echo "the install finisher is not installed"; exit 1; }
wait_for "$finisher" 30 || { echo "the install finisher did not show"; cat "$work/out.txt"; exit 1; }
! xdotool search --name "$program" >/dev/null 2>&1 || { echo "the program started before the finisher ended"; exit 1; }
# The finisher checks the components (it starts an office once), then closes 13 s later.
shot finisher 6
wait_for "$program" 90 || { echo "program did not start"; cat "$work/out.txt"; exit 1; }
! xdotool search --name "$finisher" >/dev/null 2>&1 || { echo "the finisher is still open"; exit 1; }
shot program 2
[ "$(cat "$HOME/.local/share/vexlo/.finisher-version")" = "$(dpkg-deb -f "$deb" Version)" ] ||
    { echo "the finisher's run is not recorded for this version"; exit 1; }
for f in name.xls name1.xls MYPPT.ppt Note1.PPT Note2.PPT start.wav; do
    [ -f "$HOME/.local/share/vexlo/$f" ] || { echo "missing $f in the user's data folder"; exit 1; }
done
[ "$(readlink -f /proc/$pid/cwd)" = "$(readlink -f "$HOME/.local/share/vexlo")" ] ||
    { echo "not started in the data folder"; exit 1; }
echo "package installed, started from its menu entry, removed"
