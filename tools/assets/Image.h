// RGBA pictures for the asset generator: pixel access, palette grids, simple
// compositing and the file encoders (PNG through libpng, BMP written by hand).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assets
{

struct Rgba
{
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 0; // 0 = transparent, 255 = opaque
};

inline bool operator==(Rgba p, Rgba q)
{
    return p.r == q.r && p.g == q.g && p.b == q.b && p.a == q.a;
}

constexpr Rgba Transparent{0, 0, 0, 0};

struct Image
{
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels; // row by row from the top

    Image() = default;
    Image(int w, int h)
        : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h))
    {
    }

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    // Index into pixels of a point that Contains.
    size_t At(int x, int y) const
    {
        return static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
    }
    // Transparent outside the picture.
    Rgba Get(int x, int y) const { return Contains(x, y) ? pixels[At(x, y)] : Transparent; }
    // Ignored outside the picture.
    void Set(int x, int y, Rgba c)
    {
        if (Contains(x, y))
        {
            pixels[At(x, y)] = c;
        }
    }
    // Source-over blend of c onto the pixel.
    void Blend(int x, int y, Rgba c);
    void Fill(int x, int y, int w, int h, Rgba c);
};

// The one palette of the game's art. Each colour has a one-character name
// used by the pixel grids; '.' is transparent.
struct PaletteEntry
{
    char name;
    Rgba color;
};
const std::vector<PaletteEntry>& GamePalette();
// Throws std::runtime_error for a name that is not in the palette.
Rgba PaletteColor(char name);
// Palette colour nearest to (r, g, b) in 0..1, after an ordered 4x4 dither
// offset of the given strength (0 = none, 1 = one full palette step).
Rgba QuantizeDithered(double r, double g, double b, int x, int y, double strength);
// Bayer 4x4 threshold for pixel (x, y), in (-0.5, 0.5).
double BayerOffset(int x, int y);

// A pixel grid: one character per pixel, rows separated by line feeds; a
// leading line feed is skipped. A row of half the width is mirrored onto the
// right half (symmetric sprites are drawn as their left half). Throws
// std::runtime_error naming the grid when a row has the wrong length or the
// row count differs from height.
Image ParseGrid(const std::string& name, int width, int height, const char* text);

// Copies src over dst at (x, y), transparent pixels included.
void Paste(Image& dst, const Image& src, int x, int y);
// Blends src onto dst at (x, y).
void Compose(Image& dst, const Image& src, int x, int y);
// Each pixel becomes a factor x factor block.
Image ScaleNearest(const Image& src, int factor);
// Transparent pixels touching an opaque one (4-neighbourhood, or 8 when
// diagonal is set) take the colour c.
Image Outline(const Image& src, Rgba c, bool diagonal);
// The opaque pixels of src shifted by (dx, dy) in colour c, drawn under src.
Image WithShadow(const Image& src, Rgba c, int dx, int dy);

std::vector<uint8_t> EncodePng(const Image& image);
// 24-bit uncompressed bottom-up BMP; alpha is dropped.
std::vector<uint8_t> EncodeBmp24(const Image& image);

} // namespace assets
