#!/usr/bin/env bash
# Builds under ThreadSanitizer, in build-tsan/, only the test programs whose
# tests start the sound manager's music thread (the sound tests, the shell's,
# and the main-loop test of the whole game that changes display modes), and
# runs them; any data race fails the run. The whole game's scripted play-
# through is left out: its script is timed for real-time frames, which the
# sanitizer slows too much.
#   scripts/tsan.sh
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

dir=build-tsan
programs=(mirel_tests_audio mirel_tests_app mirel_tests_integration)
declare -A filters=([mirel_tests_integration]='Display_Modes.*')
flags=(-DMIREL_TSAN=ON -DMIREL_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo)
[ "${MIREL_WERROR:-0}" = 1 ] && flags+=(-DMIREL_WERROR=ON)
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir" --target "${programs[@]}"

# Mesa's software renderer (llvmpipe) hands drawing to worker threads that
# synchronise in ways the sanitizer cannot see, and it reports them as races
# in the driver. With no worker threads llvmpipe draws on the calling thread,
# so every thread left is one of ours and is checked in full.
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy LP_NUM_THREADS=0
export MIREL_SOURCE_DIR="$PWD" MIREL_BINARY_DIR="$PWD/$dir"
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
cd "$dir"
for p in "${programs[@]}"; do
  echo "tsan: $p"
  "./$p" --gtest_brief=1 --gtest_filter="${filters[$p]:-*}"
done
