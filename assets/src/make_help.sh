#!/usr/bin/env bash
# Compiles the help file 帮助文件.chm from the pages in help/ with chmcmd (fp-utils).
#   assets/src/make_help.sh            # writes assets/data/帮助文件.chm
#   assets/src/make_help.sh /tmp/out   # writes elsewhere
#
# The pages are UTF-8 and say so in their meta tag; viewers render them as such. The
# contents (.hhc), the index (.hhk) and the project (.hhp, for the title) are read by
# the viewers in the code page of the help file's language, 0x804 (simplified Chinese,
# GB2312/GBK), so they are kept in UTF-8 here and converted to GB2312 in a staging
# folder before compiling. The text index is used (Binary Index=No): chmcmd's binary
# index takes the .hhk as UTF-8, which would not match the GB2312 text index. Full-text
# search stays off because chmcmd's indexer crashes on some Chinese pages.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../data}
mkdir -p "$out"
out=$(cd "$out" && pwd)
src=$here/help
# The project compiles to an ASCII name (its text is GB2312, a file name there would
# come out in GB2312 bytes); the result is renamed to the name the program opens.
built=help.chm
chm=帮助文件.chm

command -v chmcmd >/dev/null || { echo "make_help.sh: chmcmd is missing (fp-utils, scripts/bootstrap.sh installs it)" >&2; exit 1; }
command -v iconv >/dev/null || { echo "make_help.sh: iconv is missing" >&2; exit 1; }

stage=$(mktemp -d "${TMPDIR:-/tmp}/vexlo-help.XXXXXX")
trap 'rm -rf "$stage"' EXIT

# Every file the project lists must exist; chmcmd would only warn.
files=$(sed -n '/^\[FILES\]/,/^\[/{/^\[/d;/^[[:space:]]*$/d;p}' "$src/help.hhp")
for f in $files; do
  [ -f "$src/$f" ] || { echo "make_help.sh: help.hhp lists $f, which is not in $src" >&2; exit 1; }
  cp "$src/$f" "$stage/$f"
done
for f in help.hhp help.hhc help.hhk; do
  iconv -f UTF-8 -t GB2312 "$src/$f" | sed 's/charset=utf-8/charset=gb2312/' > "$stage/$f"
done

# chmcmd writes the .chm next to the project and prints progress on stdout.
(cd "$stage" && chmcmd --no-html-scan help.hhp > chmcmd.log 2>&1) || {
  cat "$stage/chmcmd.log" >&2; echo "make_help.sh: chmcmd failed" >&2; exit 1; }
# It does not fail on every error (it can crash and leave an empty file): check the
# result's signature before replacing the old one.
if [ "$(head -c 4 "$stage/$built" 2>/dev/null)" != "ITSF" ]; then
  cat "$stage/chmcmd.log" >&2; echo "make_help.sh: chmcmd wrote no CHM file" >&2; exit 1
fi
if grep -qi 'error' "$stage/chmcmd.log"; then
  cat "$stage/chmcmd.log" >&2; echo "make_help.sh: chmcmd reported errors" >&2; exit 1
fi
mv "$stage/$built" "$out/$chm"
echo "make_help.sh: wrote $out/$chm ($(stat -c %s "$out/$chm") bytes)"
