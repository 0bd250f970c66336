// The game's pixel fonts, drawn by hand: a 5 x 7 font (with one row of
// descender) for every printable ASCII character, and a narrower 4 x 7 face of
// the few capitals the status panel's captions need.
#pragma once

#include "Image.h"

#include <array>
#include <cstdint>
#include <string>

namespace assets
{

constexpr int GlyphWidth = 5;
constexpr int GlyphRows = 8; // 7 rows above the baseline, 1 of descender

enum class Face
{
    Regular, // 5 x 7, all printable ASCII
    Narrow,  // 4 x 7 capitals for the panel captions
};

// Eight rows from the top; bit (GlyphWidth - 1 - x) is column x. A character
// without a glyph in the face (or a space) is all zero.
std::array<uint8_t, GlyphRows> GlyphBits(Face face, char c);
bool HasGlyph(Face face, char c);

// The text as a mask: glyph pixels opaque white, the rest transparent. Each
// font pixel becomes scale x scale; glyphs are set proportionally (by their
// inked columns) with spacing pixels between them; a space advances 3 * scale.
// The mask is 8 * scale high.
Image TextMask(Face face, const std::string& text, int scale, int spacing);

} // namespace assets
