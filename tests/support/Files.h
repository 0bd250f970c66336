// Files made on the spot by tests: WAV sounds, BMP and PNG pictures, and the
// little-endian fields their headers are built from. A test that damages a
// file builds it from the same pieces and changes the one it is about.
#pragma once

#include <SDL/SDL.h>
#include <cstdint>
#include <string>
#include <vector>

namespace skyreel_test
{

// Little-endian fields, as RIFF and BMP headers store them.
void PutLe16(std::string& out, uint16_t value);
void PutLe32(std::string& out, uint32_t value);

// A RIFF chunk: tag, size (the body's own, or `claimed`), body.
std::string RiffChunk(const char* tag, const std::string& body);
std::string RiffChunk(const char* tag, const std::string& body, uint32_t claimed);
// The body of a WAV file's "fmt " chunk for integer PCM.
std::string PcmFormat(uint16_t channels, uint32_t rate, uint16_t bits);
// A whole RIFF file of the given form around `chunks`.
std::string Riff(const std::string& chunks, const char* form = "WAVE");

// A 16-bit 22050 Hz WAV file of `milliseconds` of a quiet square wave.
std::string WavBytes(int milliseconds, uint16_t channels = 1);
bool WriteWav(const std::string& path, int milliseconds, uint16_t channels = 1);

// Any bytes as a file.
bool WriteText(const std::string& path, const std::string& bytes);

// An 8 x 8 BMP of 4 bits per pixel with a 16-grey palette; `bitCount` and
// `height` go into the header as they stand (a negative height, in two's
// complement, means rows top-down), so a test can claim what SDL cannot hold.
std::string FourBitBmp(uint16_t bitCount, uint32_t height = 8);
// A solid-coloured picture saved as BMP; SDL_image recognises the content
// whatever the file is called.
bool WriteSolidPicture(const std::string& path, int w, int h, Uint8 r, Uint8 g, Uint8 b);
// A 128 x 128 debug font as BMP whose glyph cell k is coloured (k, 100, 200);
// with `darkCorner` each cell's top-left pixel is black, so transparent.
bool WriteCellFont(const std::string& path, bool darkCorner = false);

// Straight RGBA, 4 bytes a pixel, rows top to bottom.
struct RgbaPicture
{
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
};

// Empty (width 0) when the file cannot be read as a PNG.
RgbaPicture ReadPng(const std::string& path);
bool WriteRgbaPng(const std::string& path, const RgbaPicture& picture);
// 24-bit RGB: the alpha channel is dropped (composed on black).
bool WriteRgbPng(const std::string& path, const RgbaPicture& picture);
// 8-bit paletted, colours reduced to 3-3-2 bits; mostly transparent pixels
// share one fully transparent palette entry.
bool WritePalettedPng(const std::string& path, const RgbaPicture& picture);

// A picture of the given size in a fixed pattern of colours, with a fully
// transparent middle third so a full-screen overlay leaves the field visible.
RgbaPicture MakePattern(int width, int height);
// The top-left corner of a picture.
RgbaPicture Crop(const RgbaPicture& picture, int width, int height);

} // namespace skyreel_test
