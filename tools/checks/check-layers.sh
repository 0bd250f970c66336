#!/bin/sh
# Fails, naming the file and the include, when game code reaches against its
# layers. Each folder may include itself and the folders below it:
#   platform < objects < bullets < player < enemies < game
# presentation sits on objects (and so platform) only; no game folder includes
# tools/ or tests/. platform/Main.cpp is the program's entry and may include
# the game session it starts.
# Ports: what differs between machines lives in platform/<port>/ behind
# platform/Port.h. No other file asks which machine it is built for (a
# preprocessor test of a platform macro) or includes a port's header.
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

port_macros='__EMSCRIPTEN__|EMSCRIPTEN|_WIN32|_WIN64|__MINGW32__|__MINGW64__|_MSC_VER|__CYGWIN__|__ANDROID__|__APPLE__|__linux__|__unix__|TARGET_OS_[A-Z_]*'
for f in $(git ls-files '*.c' '*.cpp' '*.h' '*.hpp' ':!:platform/*/*'); do
    [ -f "$f" ] || continue
    grep -nE "^[[:space:]]*#[[:space:]]*(if|ifdef|ifndef|elif)\b.*\b($port_macros)\b" "$f" |
        while IFS=: read -r line _; do
            echo "check-layers: $f:$line asks which machine it is built for: that belongs in a port, platform/<port>/"
            echo bad
        done
    grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"platform/[^/"]+/' "$f" |
        while IFS=: read -r line _; do
            echo "check-layers: $f:$line includes a port's header: only platform/Port.h is shared"
            echo bad
        done
done | tee -a "$log" | grep -v '^bad$'
grep -q '^bad$' "$log" && bad=1
rm -f "$log"
[ "$bad" = 0 ] && echo "check-layers: every include follows the layers and the ports"
exit "$bad"
