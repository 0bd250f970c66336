#!/bin/sh
# How far the autoplayer gets: one game from each of 20 start times (the
# update on which it confirms the first title, which sets the game's seed),
# each cut off after FRAMES updates if it is still alive. Prints one line per
# start, then the median and best stage and score.
#
#   tools/sim/bot-stats.sh [path/to/skyreel-sim] [FRAMES]
#
# Run from the repository root.
set -e
SIM=${1:-build/tools/sim/skyreel-sim}
FRAMES=${2:-60000}
OUT=$(mktemp)
trap 'rm -f "$OUT"' EXIT

echo "confirm_at  seed  stage      score  ended"
for i in $(seq 0 19); do
    at=$((100 + i * 37))
    line=$("$SIM" --bot --confirm-at "$at" --frames "$FRAMES" --no-present --quiet)
    # The first game's figures: the first entry of each list.
    first() { echo "$line" | sed -n "s/.*\"$1\":\[\([0-9]*\).*/\1/p"; }
    finished=$(echo "$line" | sed -n 's/.*"finished_games":\([0-9]*\).*/\1/p')
    if [ "$finished" -gt 0 ]; then ended=hit; else ended="alive at $FRAMES"; fi
    printf '%10s %5s %6s %10s  %s\n' "$at" "$(first seeds)" "$(first stages)" "$(first scores)" "$ended"
    echo "$(first stages) $(first scores)" >>"$OUT"
done

median() { sort -n | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
best() { sort -n | tail -1; }
echo "stage: median $(cut -d' ' -f1 "$OUT" | median), best $(cut -d' ' -f1 "$OUT" | best)"
echo "score: median $(cut -d' ' -f2 "$OUT" | median), best $(cut -d' ' -f2 "$OUT" | best)"
