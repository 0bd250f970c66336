#include "DrawingKit.h"

#include "DetMath.h"
#include "Font.h"

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

namespace assets
{

namespace
{

unsigned Hash(int x, int y, unsigned seed)
{
    unsigned h = static_cast<unsigned>(x) * 0x8DA6B343u ^ static_cast<unsigned>(y) * 0xD8163841u ^
                 seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return h;
}

double Lattice(int x, int y, unsigned seed)
{
    return (Hash(x, y, seed) & 0xFFFFu) / 65535.0;
}

// Smooth value noise in 0..1, wrapping with the given period (in lattice cells).
double ValueNoise(double x, double y, unsigned seed, int period)
{
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const double fx = x - x0;
    const double fy = y - y0;
    const double sx = fx * fx * (3.0 - 2.0 * fx);
    const double sy = fy * fy * (3.0 - 2.0 * fy);
    auto at = [&](int i, int j)
    { return Lattice(((i % period) + period) % period, ((j % period) + period) % period, seed); };
    const double top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
    const double bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
    return top + (bottom - top) * sy;
}

} // namespace

Rgba WithAlpha(Rgba c, double alpha)
{
    c.a = static_cast<uint8_t>(std::floor(Clamp01(alpha) * 255.0 + 0.5));
    return c;
}

Rgba Ramp(const char* ramp, double s, int x, int y, double dither)
{
    const int n = static_cast<int>(std::strlen(ramp));
    double index = Clamp01(s) * (n - 1) + BayerOffset(x, y) * dither;
    int i = static_cast<int>(std::floor(index + 0.5));
    i = i < 0 ? 0 : (i >= n ? n - 1 : i);
    return PaletteColor(ramp[i]);
}

double Fbm(double x, double y, unsigned seed, int period)
{
    double sum = 0.0;
    double amplitude = 0.5;
    double total = 0.0;
    for (int octave = 0; octave < 4; ++octave)
    {
        sum += ValueNoise(x, y, seed + static_cast<unsigned>(octave), period) * amplitude;
        total += amplitude;
        x *= 2.0;
        y *= 2.0;
        period *= 2;
        amplitude *= 0.5;
    }
    return sum / total;
}

Image ColorizeRows(const Image& mask, int scale, const char* rows, const char* highlights,
                   const char* shades)
{
    Image out(mask.width, mask.height);
    const int n = static_cast<int>(std::strlen(rows));
    for (int y = 0; y < mask.height; ++y)
    {
        const int row = y / scale < n ? y / scale : n - 1;
        for (int x = 0; x < mask.width; ++x)
        {
            if (mask.Get(x, y).a == 0)
            {
                continue;
            }
            char c = rows[row];
            if (highlights != nullptr && mask.Get(x, y - 1).a == 0)
            {
                c = highlights[row];
            }
            else if (shades != nullptr && mask.Get(x, y + 1).a == 0)
            {
                c = shades[row];
            }
            out.Set(x, y, PaletteColor(c));
        }
    }
    return out;
}

Image OutlinedText(const char* text, const char* rows, const char* highlights, const char* shades)
{
    const Image mask = TextMask(Face::Regular, text, 1, 1);
    const Image colored = Pad(ColorizeRows(mask, 1, rows, highlights, shades), 1);
    return Trim(Outline(colored, PaletteColor('k'), true));
}

Image Pad(const Image& src, int n)
{
    Image out(src.width + 2 * n, src.height + 2 * n);
    Paste(out, src, n, n);
    return out;
}

Image Trim(const Image& src)
{
    int left = src.width;
    int right = -1;
    int top = src.height;
    int bottom = -1;
    for (int y = 0; y < src.height; ++y)
    {
        for (int x = 0; x < src.width; ++x)
        {
            if (src.Get(x, y).a != 0)
            {
                left = x < left ? x : left;
                right = x > right ? x : right;
                top = y < top ? y : top;
                bottom = y > bottom ? y : bottom;
            }
        }
    }
    if (right < 0)
    {
        return Image();
    }
    Image out(right - left + 1, bottom - top + 1);
    for (int y = top; y <= bottom; ++y)
    {
        for (int x = left; x <= right; ++x)
        {
            out.Set(x - left, y - top, src.Get(x, y));
        }
    }
    return out;
}

Image Slant(const Image& src, int step)
{
    const int extra = (src.height - 1) / step;
    Image out(src.width + extra, src.height);
    for (int y = 0; y < src.height; ++y)
    {
        const int shift = (src.height - 1 - y) / step;
        for (int x = 0; x < src.width; ++x)
        {
            out.Set(x + shift, y, src.Get(x, y));
        }
    }
    return out;
}

Image Centered(const Image& picture, int width, int height, int dx, int dy)
{
    if (picture.width > width || picture.height > height)
    {
        throw std::runtime_error("picture of " + std::to_string(picture.width) + " x " +
                                 std::to_string(picture.height) + " does not fit " +
                                 std::to_string(width) + " x " + std::to_string(height));
    }
    Image out(width, height);
    Compose(out, picture, (width - picture.width) / 2 + dx, (height - picture.height) / 2 + dy);
    return out;
}

void Stars(Image& image, int x0, int y0, int w, int h, int count, unsigned seed)
{
    Noise noise(seed);
    for (int i = 0; i < count; ++i)
    {
        const int x = x0 + noise.Range(0, w - 1);
        const int y = y0 + noise.Range(0, h - 1);
        const int kind = noise.Range(0, 99);
        const char c = kind < 55 ? 'G' : (kind < 85 ? 'g' : (kind < 95 ? 'l' : 'C'));
        if (image.Get(x, y).a == 255)
        {
            image.Set(x, y, PaletteColor(c));
        }
    }
}

} // namespace assets
