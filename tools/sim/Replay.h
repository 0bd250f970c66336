// Replays: the key changes of a run, update by update, as a small text file.
//
//   # comment (also after the entries, from '#' to the end of the line)
//   120 +z        key z goes down before update 120
//   130 -z        and up again before update 130
//   4000 end      the recording covers updates 1..4000
//
// Updates count from 1 (the first UpdateInput of the session). Entries of one
// update are pushed in the order they appear; entries must not go back in
// time. Keys: left right up down z space x c v q escape.
#pragma once

#include <SDL/SDL.h>
#include <cstdint>
#include <string>
#include <vector>

namespace sim
{

enum class Key : uint8_t
{
    Left,
    Right,
    Up,
    Down,
    Z,
    Space,
    X,
    C,
    V,
    Q,
    Escape,
};

inline constexpr int KeyCount = 11;

struct KeyChange
{
    int32_t update; // 1-based update before which the change is pushed
    Key key;
    bool down;

    bool operator==(const KeyChange&) const = default;
};

struct Replay
{
    std::vector<KeyChange> changes; // in update order
    int32_t length = 0;             // updates covered ("end" line); 0 = until the last change
};

const char* KeyName(Key key);
// False for a name that is not a key.
bool KeyFromName(const std::string& name, Key* key);
SDLKey KeySym(Key key);

// Parses replay text. On failure returns false and sets *error to a message
// naming the line.
bool ParseReplay(const std::string& text, Replay* replay, std::string* error);
bool LoadReplay(const std::string& path, Replay* replay, std::string* error);

// The text form; `header` lines are written as comments first.
std::string FormatReplay(const Replay& replay, const std::vector<std::string>& header);
bool SaveReplay(const std::string& path, const Replay& replay,
                const std::vector<std::string>& header, std::string* error);

} // namespace sim
