#!/usr/bin/env bash
# Sets up the machine, builds, lays out ./run with the program and its data files,
# and starts the program there (it looks its data files up in its current directory).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh
./scripts/build.sh
mkdir -p run
cp -f assets/data/* run/
cp -f "build/app/Vexlo8.12" run/
# The help pages the logo opens, beside the program as in the build tree.
rm -rf run/help
cp -r build/app/help run/
cd run
exec ./Vexlo8.12 "$@"
