#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ in build-fuzz/ with clang-14
# (coverage, AddressSanitizer, UndefinedBehaviorSanitizer) and runs each from
# a copy of its seed corpus (fuzz/corpus/<reader>/) for a bounded time,
# printing its executions and coverage. An input that crashes a target is
# kept in build-fuzz/findings/<reader>/ and fails the run. An input still
# running after 30 s counts as a hang (generous, so a loaded machine does not
# fail the run).
#   scripts/fuzz.sh                  every target, 20 s each
#   MIREL_FUZZ_SECONDS=300 scripts/fuzz.sh replay levels
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

seconds=${MIREL_FUZZ_SECONDS:-20}
dir=build-fuzz
CC=clang-14 CXX=clang++-14 cmake -S . -B "$dir" -G Ninja -DMIREL_FUZZ=ON >/dev/null
cmake --build "$dir"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in fuzz/fuzz_*.cpp; do
    t=$(basename "$src" .cpp)
    targets+=("${t#fuzz_}")
  done
fi

export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
for t in "${targets[@]}"; do
  work="$PWD/$dir/corpus/$t"
  findings="$PWD/$dir/findings/$t"
  log="$dir/fuzz_$t.log"
  rm -rf "$work" && mkdir -p "$work" "$findings"
  cp fuzz/corpus/"$t"/* "$work"/
  status=ok
  if ! "./$dir/fuzz_$t" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=3072 -max_len=65536 \
      -print_final_stats=1 -artifact_prefix="$findings/" "$work" >"$log" 2>&1; then
    status=FAILED
    failed=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  stats=$(grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -1 || true)
  printf 'fuzz %-12s %-6s %9s executions in %s s, %s, corpus %s inputs\n' \
    "$t" "$status" "${runs:-?}" "$seconds" "${stats:-no coverage line}" "$(ls "$work" | wc -l)"
  if [ $status = FAILED ]; then
    grep -E 'ERROR|SUMMARY|runtime error|terminate|Test unit written' "$log" | head -20
    ls "$findings"
  fi
done
exit $failed
