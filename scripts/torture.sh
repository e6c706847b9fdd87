#!/usr/bin/env bash
# Whole-value torture of the shipped documents: builds the fuzz targets in
# build-fuzz/ as scripts/fuzz.sh does and runs fuzz/torture.py, which sets
# every value of every document of content/documents/ in turn to each
# extreme (-1, 0, -0.0, 1e-40, 1e30, -1e30, 2^31, 2^32, inf, nan, "", "abc",
# "12abc", " 3 "), deletes each attribute and doubles each element, and
# plays each variant once through the fuzz target that reads the document,
# under AddressSanitizer and UndefinedBehaviorSanitizer, an allocation that
# cannot be served failing the input, 10 s per input. Every failing variant
# is appended to build-fuzz/torture-findings.md (or --report FILE) with its
# document, element, attribute or text, value and the sanitizer's first
# lines; the run fails if any variant failed.
#
#   scripts/torture.sh                       every document, 6 at a time
#   scripts/torture.sh --jobs 2 backgrounds  one target
#   scripts/torture.sh --count               the variants per document
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
dir=build-fuzz
CC=clang-14 CXX=clang++-14 cmake -S . -B "$dir" -G Ninja -DMIREL_FUZZ=ON >/dev/null
cmake --build "$dir"
exec python3 fuzz/torture.py --build "$dir" "$@"
