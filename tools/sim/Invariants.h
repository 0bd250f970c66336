// Checks that the game state holds together after every update: the bullet
// list, the ship's rail, the scene machine, scores that only grow within a
// game, counters within their ranges.
#pragma once

#include <cstdint>
#include <string>

class GameDirector;

namespace sim
{

class InvariantChecker
{
public:
    // Call once after every update, with the 1-based number of that update.
    // False on the first broken rule, with a message naming it in *error.
    bool Check(const GameDirector& director, int32_t update, std::string* error);

    int64_t checks = 0; // updates checked so far

private:
    bool started = false;
    int32_t scene = 0;
    int32_t score = 0;
    int32_t grazeCount = 0;
    int32_t stage = 0;
};

} // namespace sim
