#include "Image.h"

#include <png.h>
#include <stdexcept>

namespace assets
{

void Image::Blend(int x, int y, Rgba c)
{
    if (!Contains(x, y) || c.a == 0)
    {
        return;
    }
    Rgba& d = pixels[At(x, y)];
    if (c.a == 255 || d.a == 0)
    {
        d = c;
        return;
    }
    const int sa = c.a;
    const int da = d.a * (255 - sa) / 255;
    const int oa = sa + da;
    d.r = static_cast<uint8_t>((c.r * sa + d.r * da + oa / 2) / oa);
    d.g = static_cast<uint8_t>((c.g * sa + d.g * da + oa / 2) / oa);
    d.b = static_cast<uint8_t>((c.b * sa + d.b * da + oa / 2) / oa);
    d.a = static_cast<uint8_t>(oa);
}

void Image::Fill(int x, int y, int w, int h, Rgba c)
{
    for (int j = y; j < y + h; ++j)
    {
        for (int i = x; i < x + w; ++i)
        {
            Set(i, j, c);
        }
    }
}

const std::vector<PaletteEntry>& GamePalette()
{
    // Dark space blues and purples for the field, bright warm and green hues
    // for the sprites, so pictures stand out against the very dark blue clear.
    static const std::vector<PaletteEntry> palette = {
        {'k', {0x0b, 0x0b, 0x1e, 255}}, // outline, deepest shadow
        {'n', {0x16, 0x1a, 0x3e, 255}}, // navy
        {'b', {0x26, 0x31, 0x6c, 255}}, // dark blue
        {'B', {0x3c, 0x58, 0xaa, 255}}, // blue
        {'c', {0x4f, 0x9c, 0xe8, 255}}, // sky
        {'C', {0xa0, 0xe2, 0xff, 255}}, // pale cyan
        {'w', {0xff, 0xff, 0xff, 255}}, // white
        {'G', {0x4a, 0x51, 0x72, 255}}, // slate
        {'g', {0x88, 0x90, 0xb2, 255}}, // grey
        {'l', {0xc8, 0xd0, 0xea, 255}}, // light grey
        {'r', {0x8c, 0x1c, 0x3c, 255}}, // crimson
        {'R', {0xe8, 0x36, 0x4e, 255}}, // red
        {'o', {0xff, 0x8a, 0x3a, 255}}, // orange
        {'y', {0xff, 0xd8, 0x4a, 255}}, // yellow
        {'Y', {0xff, 0xf6, 0xb8, 255}}, // cream
        {'h', {0x6e, 0x34, 0x22, 255}}, // brown
        {'e', {0x14, 0x5a, 0x48, 255}}, // deep green
        {'E', {0x2e, 0xa8, 0x6a, 255}}, // green
        {'f', {0x9a, 0xf0, 0x7a, 255}}, // lime
        {'p', {0x3a, 0x1c, 0x5e, 255}}, // deep purple
        {'P', {0x7a, 0x3c, 0xb2, 255}}, // purple
        {'m', {0xd4, 0x4e, 0xc8, 255}}, // magenta
        {'M', {0xff, 0x9e, 0xea, 255}}, // pink
        {'t', {0x10, 0x4a, 0x5c, 255}}, // deep teal
        {'T', {0x22, 0xb8, 0xc0, 255}}, // teal
        {'v', {0x05, 0x05, 0x12, 255}}, // near black
    };
    return palette;
}

Rgba PaletteColor(char name)
{
    if (name == '.')
    {
        return Transparent;
    }
    for (const PaletteEntry& entry : GamePalette())
    {
        if (entry.name == name)
        {
            return entry.color;
        }
    }
    throw std::runtime_error(std::string("unknown palette colour '") + name + "'");
}

double BayerOffset(int x, int y)
{
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (bayer[y & 3][x & 3] + 0.5) / 16.0 - 0.5;
}

Rgba QuantizeDithered(double r, double g, double b, int x, int y, double strength)
{
    const double offset = BayerOffset(x, y) * strength * 0.18;
    r += offset;
    g += offset;
    b += offset;
    Rgba best = GamePalette().front().color;
    double bestDistance = 1e9;
    for (const PaletteEntry& entry : GamePalette())
    {
        const double dr = entry.color.r / 255.0 - r;
        const double dg = entry.color.g / 255.0 - g;
        const double db = entry.color.b / 255.0 - b;
        // Weighted so that hue errors in green count more, as the eye sees them.
        const double distance = 0.30 * dr * dr + 0.59 * dg * dg + 0.11 * db * db +
                                0.25 * ((dr - dg) * (dr - dg) + (dg - db) * (dg - db));
        if (distance < bestDistance)
        {
            bestDistance = distance;
            best = entry.color;
        }
    }
    return best;
}

Image ParseGrid(const std::string& name, int width, int height, const char* text)
{
    std::vector<std::string> rows;
    std::string row;
    const char* p = text;
    if (*p == '\n')
    {
        ++p;
    }
    for (; *p != '\0'; ++p)
    {
        if (*p == '\n')
        {
            rows.push_back(row);
            row.clear();
        }
        else
        {
            row += *p;
        }
    }
    if (!row.empty())
    {
        rows.push_back(row);
    }
    if (static_cast<int>(rows.size()) != height)
    {
        throw std::runtime_error("grid " + name + ": " + std::to_string(rows.size()) +
                                 " rows, expected " + std::to_string(height));
    }
    Image image(width, height);
    for (int y = 0; y < height; ++y)
    {
        std::string line = rows[static_cast<size_t>(y)];
        if (static_cast<int>(line.size()) * 2 == width)
        {
            line += std::string(line.rbegin(), line.rend());
        }
        if (static_cast<int>(line.size()) != width)
        {
            throw std::runtime_error("grid " + name + ": row " + std::to_string(y) + " has " +
                                     std::to_string(line.size()) + " characters, expected " +
                                     std::to_string(width));
        }
        for (int x = 0; x < width; ++x)
        {
            image.Set(x, y, PaletteColor(line[static_cast<size_t>(x)]));
        }
    }
    return image;
}

void Paste(Image& dst, const Image& src, int x, int y)
{
    for (int j = 0; j < src.height; ++j)
    {
        for (int i = 0; i < src.width; ++i)
        {
            dst.Set(x + i, y + j, src.Get(i, j));
        }
    }
}

void Compose(Image& dst, const Image& src, int x, int y)
{
    for (int j = 0; j < src.height; ++j)
    {
        for (int i = 0; i < src.width; ++i)
        {
            dst.Blend(x + i, y + j, src.Get(i, j));
        }
    }
}

Image ScaleNearest(const Image& src, int factor)
{
    Image out(src.width * factor, src.height * factor);
    for (int y = 0; y < out.height; ++y)
    {
        for (int x = 0; x < out.width; ++x)
        {
            out.Set(x, y, src.Get(x / factor, y / factor));
        }
    }
    return out;
}

Image Outline(const Image& src, Rgba c, bool diagonal)
{
    Image out = src;
    for (int y = 0; y < src.height; ++y)
    {
        for (int x = 0; x < src.width; ++x)
        {
            if (src.Get(x, y).a != 0)
            {
                continue;
            }
            bool touches = src.Get(x - 1, y).a != 0 || src.Get(x + 1, y).a != 0 ||
                           src.Get(x, y - 1).a != 0 || src.Get(x, y + 1).a != 0;
            if (diagonal)
            {
                touches = touches || src.Get(x - 1, y - 1).a != 0 || src.Get(x + 1, y - 1).a != 0 ||
                          src.Get(x - 1, y + 1).a != 0 || src.Get(x + 1, y + 1).a != 0;
            }
            if (touches)
            {
                out.Set(x, y, c);
            }
        }
    }
    return out;
}

Image WithShadow(const Image& src, Rgba c, int dx, int dy)
{
    Image out(src.width, src.height);
    for (int y = 0; y < src.height; ++y)
    {
        for (int x = 0; x < src.width; ++x)
        {
            if (src.Get(x - dx, y - dy).a != 0)
            {
                out.Set(x, y, c);
            }
        }
    }
    Compose(out, src, 0, 0);
    return out;
}

namespace
{

void AppendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

} // namespace

namespace
{

// Runs libpng over prepared rows. Kept free of C++ objects with destructors,
// since libpng reports errors by longjmp back into this function.
bool WritePngRows(std::vector<uint8_t>* out, int width, int height, png_bytepp rows)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr)
    {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr)
    {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, AppendBytes, FlushNothing);
    // Fixed settings and no time or text chunks: the same picture always
    // gives the same bytes.
    png_set_compression_level(png, 9);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE,
                 PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

std::vector<uint8_t> EncodePng(const Image& image)
{
    std::vector<uint8_t> bytes(image.pixels.size() * 4);
    for (size_t i = 0; i < image.pixels.size(); ++i)
    {
        // Fully transparent pixels are stored as transparent black, so a blit
        // that ignores alpha shows nothing stray and the file packs well.
        const Rgba p = image.pixels[i].a == 0 ? Transparent : image.pixels[i];
        bytes[i * 4 + 0] = p.r;
        bytes[i * 4 + 1] = p.g;
        bytes[i * 4 + 2] = p.b;
        bytes[i * 4 + 3] = p.a;
    }
    std::vector<png_bytep> rows(static_cast<size_t>(image.height));
    for (int y = 0; y < image.height; ++y)
    {
        rows[static_cast<size_t>(y)] = bytes.data() + image.At(0, y) * 4;
    }
    std::vector<uint8_t> out;
    if (!WritePngRows(&out, image.width, image.height, rows.data()))
    {
        throw std::runtime_error("libpng failed while encoding");
    }
    return out;
}

namespace
{

void PutLe16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void PutLe32(std::vector<uint8_t>& out, uint32_t v)
{
    PutLe16(out, v & 0xFFFF);
    PutLe16(out, v >> 16);
}

} // namespace

std::vector<uint8_t> EncodeBmp24(const Image& image)
{
    const uint32_t rowBytes = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
    const uint32_t dataBytes = rowBytes * static_cast<uint32_t>(image.height);
    std::vector<uint8_t> out;
    out.reserve(54 + dataBytes);
    out.push_back('B');
    out.push_back('M');
    PutLe32(out, 54 + dataBytes); // file size
    PutLe32(out, 0);              // reserved
    PutLe32(out, 54);             // offset of the pixels
    PutLe32(out, 40);             // BITMAPINFOHEADER
    PutLe32(out, static_cast<uint32_t>(image.width));
    PutLe32(out, static_cast<uint32_t>(image.height)); // positive: bottom-up rows
    PutLe16(out, 1);                                   // planes
    PutLe16(out, 24);                                  // bits per pixel
    PutLe32(out, 0);                                   // BI_RGB, uncompressed
    PutLe32(out, dataBytes);
    PutLe32(out, 2835); // 72 dpi
    PutLe32(out, 2835);
    PutLe32(out, 0);
    PutLe32(out, 0);
    for (int y = image.height - 1; y >= 0; --y)
    {
        for (int x = 0; x < image.width; ++x)
        {
            const Rgba p = image.Get(x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        for (uint32_t pad = static_cast<uint32_t>(image.width) * 3; pad < rowBytes; ++pad)
        {
            out.push_back(0);
        }
    }
    return out;
}

} // namespace assets
