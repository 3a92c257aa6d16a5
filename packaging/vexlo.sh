#!/bin/sh
# Starts the installed program in the user's own data folder. The program looks its
# data files up in its current directory and writes draw results into the workbooks,
# so each user gets a writable copy, filled from the packaged files on first use; files
# already there (edited name lists among them) are never overwritten.
set -e
prefix=$(dirname "$(dirname "$(readlink -f "$0")")")
data="${XDG_DATA_HOME:-$HOME/.local/share}/vexlo"
mkdir -p "$data"
for f in "$prefix/share/vexlo/data"/*; do
    [ -e "$data/$(basename "$f")" ] || cp "$f" "$data/"
done
cd "$data"
VEXLO_APP_DIR="$data" exec "$prefix/lib/vexlo/Vexlo8.12" "$@"
