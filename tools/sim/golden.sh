#!/bin/sh
# Regenerates the golden traces in tests/sim/golden/ after an intended change
# of the game's behaviour (`make golden`). Run from the repository root.
#
#   tools/sim/golden.sh [path/to/skyreel-sim]
#
# The hand-written replays (title-quit, hit-game) are kept and only their
# hashes are written again; the autoplayer's game (bot-stages) is recorded
# afresh, since the autoplayer answers what the game does. Each trace is then
# checked to still show what it is there for. Review the diff before committing.
set -e
SIM=${1:-build/tools/sim/skyreel-sim}
DIR=tests/sim/golden

"$SIM" --bot --confirm-at 150 --frames 5000 --no-present --quiet \
    --record "$DIR/bot-stages.replay" >/dev/null

status=0
for name in title-quit hit-game bot-stages; do
    summary=$("$SIM" --replay "$DIR/$name.replay" --hash-every 1 \
        --hash-out "$DIR/$name.hashes" --no-present --quiet)
    echo "$name: $summary"
    case $name in
    title-quit) want='"games":0,.*"quit":true' ;;
    hit-game) want='"finished_games":1,"in_game":false' ;;
    bot-stages) want='"highest_stage":([2-9]|[1-9][0-9])' ;;
    esac
    if ! echo "$summary" | grep -Eq "$want"; then
        echo "golden: $name no longer does its job (wanted $want): edit $DIR/$name.replay" >&2
        status=1
    fi
done
exit $status
