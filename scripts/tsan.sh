#!/usr/bin/env bash
# Builds under ThreadSanitizer, in build-tsan/, only the test programs whose
# tests start the sound manager's music thread (the sound tests and the
# shell's), and runs them; any data race fails the run.
#   scripts/tsan.sh
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

dir=build-tsan
programs=(mirel_tests_audio mirel_tests_app)
flags=(-DMIREL_TSAN=ON -DMIREL_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo)
[ "${MIREL_WERROR:-0}" = 1 ] && flags+=(-DMIREL_WERROR=ON)
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir" --target "${programs[@]}"

export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
export MIREL_SOURCE_DIR="$PWD" MIREL_BINARY_DIR="$PWD/$dir"
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
cd "$dir"
for p in "${programs[@]}"; do
  echo "tsan: $p"
  "./$p" --gtest_brief=1
done
