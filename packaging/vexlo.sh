#!/bin/sh
# Starts the installed program in the user's own data folder. The program looks its
# data files up in its current directory and writes draw results into the workbooks,
# so each user gets a writable copy, filled from the packaged files on first use; files
# already there (edited name lists among them) are never overwritten.
# `--open-data-folder` shows that folder in the file manager instead of starting anything.
# The first start of each installed version runs the install finisher first and waits for
# it; a stamp in the data folder remembers the version it ran for.
set -e
prefix=$(dirname "$(dirname "$(readlink -f "$0")")")
data="${XDG_DATA_HOME:-$HOME/.local/share}/vexlo"
mkdir -p "$data"
for f in "$prefix/share/vexlo/data"/*; do
    [ -e "$data/$(basename "$f")" ] || cp "$f" "$data/"
done
cd "$data"
# The menu's "打开数据文件夹": the teacher's own files go here (see the README).
if [ "${1:-}" = --open-data-folder ]; then
    exec xdg-open "$data"
fi
version=$(cat "$prefix/share/vexlo/version" 2>/dev/null || true)
stamp="$data/.finisher-version"
if [ -n "$version" ] && [ "$(cat "$stamp" 2>/dev/null || true)" != "$version" ]; then
    # A finisher that could not run (no display, say) is tried again on the next start.
    if "$prefix/lib/vexlo/Vexlo" </dev/null; then
        printf '%s\n' "$version" >"$stamp"
    fi
fi
VEXLO_APP_DIR="$data" exec "$prefix/lib/vexlo/Vexlo8.12" "$@"
