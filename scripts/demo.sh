#!/usr/bin/env bash
# Builds ORVEN, creates the demo installation in ./demo (embedded Firebird,
# no server) and runs the main job on it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
size="${ORVEN_DEMO_SIZE:-small}"
./build/bin/orven-cli demo demo --size "$size" --replace
export ORVEN_CONFIG_DIR="$PWD/demo"
./build/bin/orven-cli info
