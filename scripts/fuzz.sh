#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ in build-fuzz/ with clang-14
# (coverage, AddressSanitizer, UndefinedBehaviorSanitizer) and runs each from
# its corpus (fuzz/corpus/<reader>/) for a bounded time, several at a time,
# printing its executions and coverage. An input that crashes a target is
# kept in build-fuzz/findings/<reader>/ and fails the run. An input still
# running after 30 s counts as a hang (generous, so a loaded machine does not
# fail the run).
#
# What a run found is merged back into fuzz/corpus/<reader>/, minimised: the
# named seeds stay, and the inputs named by their SHA-1 are replaced by the
# fewest that, with the seeds, reach everything the run reached. Commit them,
# so the next run starts where this one ended.
#
#   scripts/fuzz.sh                  every target, 180 s each, 5 at a time (CI)
#   scripts/fuzz.sh --deep           every target, 600 s each, 5 at a time
#   MIREL_FUZZ_SECONDS=300 MIREL_FUZZ_JOBS=2 scripts/fuzz.sh replay levels
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

deep=0
if [ "${1:-}" = --deep ]; then
  deep=1
  shift
fi
seconds=${MIREL_FUZZ_SECONDS:-$([ $deep = 1 ] && echo 600 || echo 180)}
jobs=${MIREL_FUZZ_JOBS:-5}
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
# A quarantine of 64 MB rather than 256 still keeps freed memory from reuse
# for many inputs, and takes half the time of the stage targets' runs.
# An allocation that cannot be served ends the run with a report, never a
# null pointer the reader may survive: an input that asks for a petabyte is
# a finding. No seed's single allocation reaches 32 MB, nor any target's
# memory 300 MB; one of 256 MB, or 2 GB in all, is an input's fault.
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0:quarantine_size_mb=64
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
options=(-timeout=30 -malloc_limit_mb=256 -rss_limit_mb=2048 -max_len=65536)
hashed='.*/[0-9a-f]{40}'  # the inputs libFuzzer found, named by their SHA-1

# Fuzzes one target, merges what it found into its corpus and writes its
# line of the summary to build-fuzz/fuzz_<reader>.status.
fuzz_one() {
  local t=$1
  # Absolute paths: some targets change their working folder, and a merge
  # starts the target again by the name it was started with.
  local corpus="$PWD/fuzz/corpus/$t" work="$PWD/$dir/corpus/$t" findings="$PWD/$dir/findings/$t"
  local log="$dir/fuzz_$t.log" status=ok
  rm -rf "$work" "$work.merged" && mkdir -p "$work" "$work.merged" "$findings"
  cp "$corpus"/* "$work"/
  if ! "$PWD/$dir/fuzz_$t" -max_total_time="$seconds" "${options[@]}" -print_final_stats=1 \
      -artifact_prefix="$findings/" "$work" >"$log" 2>&1; then
    status=FAILED
  fi
  local runs stats
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  stats=$(grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -1 || true)

  # The seeds first, then whatever of the work corpus adds to them.
  find "$corpus" -maxdepth 1 -type f -regextype posix-extended ! -regex "$hashed" -exec cp {} "$work.merged"/ \;
  local kept=?
  # An input that fails in the merge is left out of the corpus; what it
  # wrote goes with the findings, not into the working folder.
  if "$PWD/$dir/fuzz_$t" -merge=1 "${options[@]}" -artifact_prefix="$findings/merge-" \
      "$work.merged" "$work" >"$dir/merge_$t.log" 2>&1; then
    find "$corpus" -maxdepth 1 -type f -regextype posix-extended -regex "$hashed" -delete
    find "$work.merged" -maxdepth 1 -type f -regextype posix-extended -regex "$hashed" -exec cp {} "$corpus"/ \;
    kept=$(ls "$corpus" | wc -l)
  else
    echo "fuzz $t: merging the corpus failed, see $dir/merge_$t.log; fuzz/corpus/$t is unchanged" >&2
  fi
  printf 'fuzz %-12s %-6s %9s executions in %s s, %s, corpus %s inputs\n' \
    "$t" "$status" "${runs:-?}" "$seconds" "${stats:-no coverage line}" "$kept" >"$dir/fuzz_$t.status"
  if [ $status = FAILED ]; then
    grep -E 'ERROR|SUMMARY|runtime error|terminate|Test unit written' "$log" | head -20 >>"$dir/fuzz_$t.status"
    ls "$findings" >>"$dir/fuzz_$t.status"
  fi
}

running=0
for t in "${targets[@]}"; do
  if [ $running -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
  rm -f "$dir/fuzz_$t.status"
  fuzz_one "$t" &
  running=$((running + 1))
done
wait

failed=0
for t in "${targets[@]}"; do
  if [ -f "$dir/fuzz_$t.status" ]; then
    cat "$dir/fuzz_$t.status"
    grep -q "^fuzz $t *ok " "$dir/fuzz_$t.status" || failed=1
  else
    echo "fuzz $t: did not finish"
    failed=1
  fi
done
exit $failed
