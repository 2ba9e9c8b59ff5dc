#!/usr/bin/env bash
# Installs what is missing, builds the release programs and starts one (tripcost by default).
set -euo pipefail
cd "$(dirname "$0")/.."
program="${1:-tripcost}"
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target "$program"
exec build/release/bin/"$program"
