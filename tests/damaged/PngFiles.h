// PNG files for the damaged-data tests, read and written with libpng's
// simplified interface: the real sheet re-saved as paletted or RGB, and
// plain RGBA pictures of any size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skyreel_damaged
{

// Straight RGBA, 4 bytes a pixel, rows top to bottom.
struct RgbaPicture
{
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
};

// Empty (width 0) when the file cannot be read as a PNG.
RgbaPicture ReadPng(const std::string& path);

// A picture of the given size in a fixed pattern of colours, with a fully
// transparent middle third so a full-screen overlay leaves the field visible.
RgbaPicture MakePattern(int width, int height);

// The top-left corner of a picture.
RgbaPicture Crop(const RgbaPicture& picture, int width, int height);

bool WriteRgbaPng(const std::string& path, const RgbaPicture& picture);
// 24-bit RGB: the alpha channel is dropped (composed on black).
bool WriteRgbPng(const std::string& path, const RgbaPicture& picture);
// 8-bit paletted, colours reduced to 3-3-2 bits; mostly transparent pixels
// share one fully transparent palette entry.
bool WritePalettedPng(const std::string& path, const RgbaPicture& picture);

} // namespace skyreel_damaged
