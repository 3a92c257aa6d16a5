#!/usr/bin/env bash
# The launcher against a stand-in installation: it runs the install finisher, and waits for
# it, on the first start of each installed version only, then the program, both in the user's
# data folder. The stand-ins log what ran, in order.
set -euo pipefail
launcher=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

prefix="$work/prefix"
mkdir -p "$prefix/bin" "$prefix/lib/vexlo" "$prefix/share/vexlo/data"
cp "$launcher" "$prefix/bin/vexlo"
echo packaged >"$prefix/share/vexlo/data/name.xls"
log="$work/log"
cat >"$prefix/lib/vexlo/Vexlo" <<'STAND_IN'
#!/bin/sh
echo running >"$VEXLO_TEST_LOG.finisher"
echo "finisher in $PWD" >>"$VEXLO_TEST_LOG"
rm "$VEXLO_TEST_LOG.finisher"
exit "${FINISHER_EXIT:-0}"
STAND_IN
cat >"$prefix/lib/vexlo/Vexlo8.12" <<'STAND_IN'
#!/bin/sh
[ ! -e "$VEXLO_TEST_LOG.finisher" ] || echo "program while the finisher runs" >>"$VEXLO_TEST_LOG"
echo "program in $PWD with $(cat name.xls)" >>"$VEXLO_TEST_LOG"
STAND_IN
mkdir -p "$work/path"
cat >"$work/path/xdg-open" <<'STAND_IN'
#!/bin/sh
echo "opened $1" >>"$VEXLO_TEST_LOG"
STAND_IN
chmod +x "$prefix/bin/vexlo" "$prefix/lib/vexlo/Vexlo" "$prefix/lib/vexlo/Vexlo8.12" "$work/path/xdg-open"
export PATH="$work/path:$PATH"

export HOME="$work/home" VEXLO_TEST_LOG="$log"
unset XDG_DATA_HOME
data="$HOME/.local/share/vexlo"
F="finisher in $data"
P="program in $data with packaged"

# case | installed version | finisher's exit status | launcher's argument | what runs, in order
cases=(
    "the menu's data-folder action on a fresh account|8.12|0|--open-data-folder|opened $data"
    "first start of a new install|8.12|0||$F;$P"
    "second start of the same version|8.12|0||$P"
    "first start after an upgrade|8.13|0||$F;$P"
    "finisher could not run|8.14|1||$F;$P"
    "so it runs again on the next start|8.14|0||$F;$P"
    "and then no more|8.14|0||$P"
    "the data-folder action runs neither|8.15|0|--open-data-folder|opened $data"
)
failed=0
for row in "${cases[@]}"; do
    IFS='|' read -r name version status argument expected <<<"$row"
    echo "$version" >"$prefix/share/vexlo/version"
    : >"$log"
    FINISHER_EXIT=$status "$prefix/bin/vexlo" ${argument:+"$argument"}
    got=$(paste -sd';' "$log")
    if [ "$got" = "$expected" ]; then
        echo "ok: $name"
    else
        echo "FAILED: $name: expected '$expected', got '$got'"
        failed=$((failed + 1))
    fi
done
echo "$(( ${#cases[@]} - failed )) passed, $failed failed"
[ "$failed" -eq 0 ]
