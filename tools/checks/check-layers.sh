#!/bin/sh
# Fails, naming the file and the include, when game code reaches against its
# layers. Each folder may include itself and the folders below it:
#   platform < objects < bullets < player < enemies < game
# presentation sits on objects (and so platform) only; no game folder includes
# tools/ or tests/. platform/Main.cpp is the program's entry and may include
# the game session it starts.
cd "$(git rev-parse --show-toplevel)" || exit 2

allowed() # layer -> folders it may include
{
    case "$1" in
        platform) echo "platform" ;;
        objects) echo "platform objects" ;;
        bullets) echo "platform objects bullets" ;;
        player) echo "platform objects bullets player" ;;
        enemies) echo "platform objects bullets player enemies" ;;
        presentation) echo "platform objects presentation" ;;
        game) echo "platform objects bullets player enemies presentation game" ;;
    esac
}

bad=0
log=$(mktemp)
for layer in platform objects bullets player enemies presentation game; do
    ok=$(allowed "$layer")
    for f in $(git ls-files "$layer/*.cpp" "$layer/*.h"); do
        [ "$f" = platform/Main.cpp ] && continue
        grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$f" |
            sed 's/^\([0-9]*\):.*"\([^"]*\)".*/\1 \2/' |
            while read -r line path; do
                folder=${path%%/*}
                [ "$folder" = "$path" ] && continue # a header beside the file
                case " $ok " in
                    *" $folder "*) ;;
                    *)
                        echo "check-layers: $f:$line includes \"$path\": $layer may include only $ok"
                        echo bad
                        ;;
                esac
            done
    done
done | tee "$log" | grep -v '^bad$'
grep -q '^bad$' "$log" && bad=1
rm -f "$log"
[ "$bad" = 0 ] && echo "check-layers: every include follows the layers"
exit "$bad"
