#!/usr/bin/env bash
# Runs the README's run command on a fresh clone of this repository's HEAD,
# headless: scripts/run.sh alone must build the game and its archive and
# start the game at the title. MIREL_QUIT_AT_TITLE makes the game end by
# itself there with 0; a game without its archive ends with -1, and one that
# never reaches the title is stopped by the time limit.
#   scripts/check-fresh-clone.sh
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
commit="$(git -C "$root" rev-parse HEAD)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

git clone --quiet --no-checkout "$root" "$work/mirel"
git -C "$work/mirel" checkout --quiet --detach "$commit"
if ! (cd "$work/mirel" &&
      MIREL_QUIT_AT_TITLE=1 SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
        timeout 1200 scripts/run.sh </dev/null >"$work/run.log" 2>&1); then
  cat "$work/run.log"
  echo "check-fresh-clone: scripts/run.sh on a fresh clone did not reach the title" >&2
  exit 1
fi
echo "check-fresh-clone: scripts/run.sh on a fresh clone built the game and reached the title"
