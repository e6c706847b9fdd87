#!/usr/bin/env bash
# Sets up a fresh machine, builds the game and its archive, and starts it.
# Arguments are passed to the game.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target mirel
cd build
exec ./mirel "$@"
