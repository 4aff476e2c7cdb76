#!/usr/bin/env bash
# Builds ORVEN, creates the demo installation in ./demo (embedded Firebird, no
# server) and runs the main job on it: the court chart is imported, the
# records are checked and classified, and the capture file of the first
# bimester is generated for the whole municipality into ./demo/out.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
size="${ORVEN_DEMO_SIZE:-small}"
cli=./build/bin/orven-cli
$cli demo demo --size "$size" --replace
export ORVEN_CONFIG_DIR="$PWD/demo"
$cli info
$cli import-chart --yes
$cli classify revenue
$cli check || true
mkdir -p demo/out
$cli generate --entity 0 --bimester "${ORVEN_DEMO_BIMESTER:-1}" --out demo/out
