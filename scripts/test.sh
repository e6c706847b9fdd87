#!/usr/bin/env bash
# Sets up a fresh machine, builds everything and runs every test, headless.
#   scripts/test.sh              release build in build/
#   MIREL_SANITIZE=1 scripts/test.sh   ASan + UBSan build in build-sanitize/
#   MIREL_WERROR=1 ...           warnings are errors (CI)
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

dir=build
flags=()
if [ "${MIREL_SANITIZE:-0}" = 1 ]; then
  dir=build-sanitize
  flags+=(-DMIREL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
fi
[ "${MIREL_WERROR:-0}" = 1 ] && flags+=(-DMIREL_WERROR=ON)

cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
