#!/usr/bin/env bash
# Regenerates the screenshots of the game: the title, the options and the key
# configuration, a busy moment of the stage, a dialog in each language, the
# boss with her rings in a spell card, and the results. The guided run is the disabled test Screenshot_Tour of
# mirel_tests_integration; it plays the real game under the offscreen video
# driver from a first start (no settings), once per language.
#
#   scripts/screenshots.sh [build folder] [output folder]
#
# Defaults: build, screenshots. Writes <output>/<name>_rus.png and _jap.png.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
out="$(mkdir -p "${2:-$root/screenshots}" && cd "${2:-$root/screenshots}" && pwd)"

cmake --build "$build" -j4 --target mirel_tests_integration mirel_archive >/dev/null

for language in 0 1; do
  suffix=$([ "$language" = 0 ] && echo rus || echo jap)
  work="$(mktemp -d)"
  cp "$build/mirel.res" "$work/"
  (
    cd "$work"
    MIREL_TOUR_LANGUAGE=$language SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
      "$build/mirel_tests_integration" --gtest_also_run_disabled_tests \
      --gtest_filter='Screenshot_Tour.*' >tour.log 2>&1 || { cat tour.log; exit 1; }
  )
  # The tour lists its screenshots in the order it took them.
  mapfile -t names <"$work/screenshot/tour.txt"
  mapfile -t files < <(ls "$work"/screenshot/mirel*.png | sort)
  for i in "${!names[@]}"; do
    [ -n "${files[$i]:-}" ] && cp "${files[$i]}" "$out/${names[$i]}_$suffix.png"
  done
  rm -rf "$work"
done
ls "$out"
