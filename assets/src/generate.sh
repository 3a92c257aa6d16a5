#!/usr/bin/env bash
# Regenerates every bundled data file in assets/data from the sources beside this
# script. Run by hand after editing a source; the results are committed.
#   assets/src/generate.sh            # writes assets/data
#   assets/src/generate.sh /tmp/out   # writes elsewhere, e.g. to compare
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../data}
mkdir -p "$out"
out=$(cd "$out" && pwd)

command -v sox >/dev/null || { echo "generate.sh: sox is missing (scripts/bootstrap.sh installs it)" >&2; exit 1; }
[ -x /usr/lib/libreoffice/program/soffice ] || { echo "generate.sh: LibreOffice is missing" >&2; exit 1; }
# The UNO bridge belongs to Debian's python3; another python3 earlier on PATH lacks it.
/usr/bin/python3 -c 'import uno' 2>/dev/null || { echo "generate.sh: /usr/bin/python3 has no uno module (python3-uno)" >&2; exit 1; }

"$here/make_sounds.sh" "$out"
/usr/bin/python3 "$here/make_office_files.py" --out "$out"
"$here/make_help.sh" "$out"
