// A 64-bit digest of the game state, for golden traces and replay checks.
// Two runs whose digests agree at an update have, as far as play can tell,
// the same game at that update.
#pragma once

#include <cstdint>

class GameDirector;

namespace sim
{

// FNV-1a, 64 bits. Values are fed field by field in a fixed byte order
// (little-endian), floats by their bit pattern, bools as one byte 0 or 1, so
// the digest never sees padding and is the same on every machine.
class Fnv1a
{
public:
    void Byte(uint8_t b) { value = (value ^ b) * 1099511628211ull; }
    void U32(uint32_t v);
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void F32(float v);
    void Bool(bool v) { Byte(v ? 1 : 0); }

    uint64_t value = 14695981039346656037ull;
};

// Digest of the director's scalars (score, high score, stage, scene, grazes,
// timers, march step, clock), the title and background state, the ship, the
// shot, the convoy with every enemy, the bonus ship and every bullet of the
// list in list order (with its length). Pointers are never hashed.
uint64_t HashGameState(const GameDirector& director);

} // namespace sim
