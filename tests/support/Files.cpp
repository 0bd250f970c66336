#include "tests/support/Files.h"

#include <cstdio>
#include <png.h>

namespace skyreel_test
{

void PutLe16(std::string& out, uint16_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void PutLe32(std::string& out, uint32_t value)
{
    PutLe16(out, static_cast<uint16_t>(value & 0xFFFF));
    PutLe16(out, static_cast<uint16_t>(value >> 16));
}

std::string RiffChunk(const char* tag, const std::string& body, uint32_t claimed)
{
    std::string out(tag, 4);
    PutLe32(out, claimed);
    return out + body;
}

std::string RiffChunk(const char* tag, const std::string& body)
{
    return RiffChunk(tag, body, static_cast<uint32_t>(body.size()));
}

std::string PcmFormat(uint16_t channels, uint32_t rate, uint16_t bits)
{
    std::string out;
    PutLe16(out, 1); // PCM
    PutLe16(out, channels);
    PutLe32(out, rate);
    PutLe32(out, rate * channels * bits / 8);
    PutLe16(out, static_cast<uint16_t>(channels * bits / 8));
    PutLe16(out, bits);
    return out;
}

std::string Riff(const std::string& chunks, const char* form)
{
    return RiffChunk("RIFF", std::string(form, 4) + chunks);
}

std::string WavBytes(int milliseconds, uint16_t channels)
{
    const uint32_t rate = 22050;
    const uint32_t frames = rate * static_cast<uint32_t>(milliseconds) / 1000;
    std::string samples;
    for (uint32_t i = 0; i < frames; ++i)
    {
        for (uint16_t c = 0; c < channels; ++c)
        {
            PutLe16(samples, (i / 50) % 2 == 0 ? 1000 : static_cast<uint16_t>(-1000));
        }
    }
    return Riff(RiffChunk("fmt ", PcmFormat(channels, rate, 16)) + RiffChunk("data", samples));
}

bool WriteWav(const std::string& path, int milliseconds, uint16_t channels)
{
    return WriteText(path, WavBytes(milliseconds, channels));
}

bool WriteText(const std::string& path, const std::string& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
    {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

std::string FourBitBmp(uint16_t bitCount, uint32_t height)
{
    std::string file = "BM";
    PutLe32(file, 150); // file size
    PutLe32(file, 0);
    PutLe32(file, 14 + 40 + 64); // pixels start after the palette
    PutLe32(file, 40);
    PutLe32(file, 8); // width
    PutLe32(file, height);
    PutLe16(file, 1);
    PutLe16(file, bitCount);
    PutLe32(file, 0);  // no compression
    PutLe32(file, 32); // 8 rows of 4 bytes
    PutLe32(file, 2835);
    PutLe32(file, 2835);
    PutLe32(file, 16);
    PutLe32(file, 0);
    for (uint32_t i = 0; i < 16; ++i)
    {
        PutLe32(file, i * 0x00111111u); // greys
    }
    for (int i = 0; i < 32; ++i)
    {
        file += static_cast<char>(0x12 + i);
    }
    return file;
}

namespace
{

// 32-bit X, R, G, B: the layout SDL saves as a plain 24-bit BMP.
SDL_Surface* MakeXrgbSurface(int w, int h)
{
    return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0);
}

// Saves the picture and frees it; false when there is none or saving fails.
bool SaveBmp(SDL_Surface* picture, const std::string& path)
{
    const bool ok = picture != nullptr && SDL_SaveBMP(picture, path.c_str()) == 0;
    SDL_FreeSurface(picture);
    return ok;
}

} // namespace

bool WriteSolidPicture(const std::string& path, int w, int h, Uint8 r, Uint8 g, Uint8 b)
{
    SDL_Surface* picture = MakeXrgbSurface(w, h);
    if (picture != nullptr)
    {
        SDL_FillRect(picture, nullptr, SDL_MapRGB(picture->format, r, g, b));
    }
    return SaveBmp(picture, path);
}

bool WriteCellFont(const std::string& path, bool darkCorner)
{
    SDL_Surface* font = MakeXrgbSurface(128, 128);
    for (int k = 0; k < 256 && font != nullptr; ++k)
    {
        SDL_Rect cell = {static_cast<Sint16>(8 * (k % 16)), static_cast<Sint16>(8 * (k / 16)), 8,
                         8};
        SDL_FillRect(font, &cell, SDL_MapRGB(font->format, static_cast<Uint8>(k), 100, 200));
        if (darkCorner)
        {
            SDL_Rect corner = {cell.x, cell.y, 1, 1};
            SDL_FillRect(font, &corner, 0);
        }
    }
    return SaveBmp(font, path);
}

RgbaPicture ReadPng(const std::string& path)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    RgbaPicture picture;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0)
    {
        return picture;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) == 0)
    {
        png_image_free(&image);
        return picture;
    }
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.pixels = std::move(pixels);
    return picture;
}

RgbaPicture MakePattern(int width, int height)
{
    RgbaPicture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            uint8_t* p = &picture.pixels[(static_cast<size_t>(y) * width + x) * 4];
            p[0] = static_cast<uint8_t>(x * 5);
            p[1] = static_cast<uint8_t>(y * 3);
            p[2] = static_cast<uint8_t>((x ^ y) * 7);
            const bool middle = x > width / 3 && x < 2 * width / 3;
            p[3] = middle ? 0 : 255;
        }
    }
    return picture;
}

RgbaPicture Crop(const RgbaPicture& picture, int width, int height)
{
    RgbaPicture out;
    out.width = width;
    out.height = height;
    out.pixels.resize(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height && y < picture.height; ++y)
    {
        for (int x = 0; x < width && x < picture.width; ++x)
        {
            for (int c = 0; c < 4; ++c)
            {
                out.pixels[(static_cast<size_t>(y) * width + x) * 4 + c] =
                    picture.pixels[(static_cast<size_t>(y) * picture.width + x) * 4 + c];
            }
        }
    }
    return out;
}

namespace
{

bool Write(const std::string& path, png_image& image, const void* buffer, const void* colormap)
{
    image.version = PNG_IMAGE_VERSION;
    return png_image_write_to_file(&image, path.c_str(), 0, buffer, 0, colormap) != 0;
}

} // namespace

bool WriteRgbaPng(const std::string& path, const RgbaPicture& picture)
{
    png_image image = {};
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGBA;
    return Write(path, image, picture.pixels.data(), nullptr);
}

bool WriteRgbPng(const std::string& path, const RgbaPicture& picture)
{
    std::vector<uint8_t> rgb;
    rgb.reserve(picture.pixels.size() / 4 * 3);
    for (size_t i = 0; i < picture.pixels.size(); i += 4)
    {
        const unsigned alpha = picture.pixels[i + 3];
        for (int c = 0; c < 3; ++c)
        {
            rgb.push_back(static_cast<uint8_t>(picture.pixels[i + c] * alpha / 255));
        }
    }
    png_image image = {};
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGB;
    return Write(path, image, rgb.data(), nullptr);
}

bool WritePalettedPng(const std::string& path, const RgbaPicture& picture)
{
    // Entry 0 is transparent; entry 1 + k is the opaque 3-3-2 colour k for
    // k 0..254 (colour 255, white, shares entry 255 with its neighbour).
    std::vector<uint8_t> colormap(256 * 4);
    for (int k = 0; k < 255; ++k)
    {
        uint8_t* entry = &colormap[static_cast<size_t>(k + 1) * 4];
        entry[0] = static_cast<uint8_t>((k >> 5) * 255 / 7);
        entry[1] = static_cast<uint8_t>(((k >> 2) & 7) * 255 / 7);
        entry[2] = static_cast<uint8_t>((k & 3) * 255 / 3);
        entry[3] = 255;
    }
    std::vector<uint8_t> indices;
    indices.reserve(picture.pixels.size() / 4);
    for (size_t i = 0; i < picture.pixels.size(); i += 4)
    {
        const uint8_t* p = &picture.pixels[i];
        if (p[3] < 128)
        {
            indices.push_back(0);
            continue;
        }
        const int k = (p[0] >> 5) << 5 | (p[1] >> 5) << 2 | p[2] >> 6;
        indices.push_back(static_cast<uint8_t>(k < 255 ? k + 1 : 255));
    }
    png_image image = {};
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGBA_COLORMAP;
    image.colormap_entries = 256;
    return Write(path, image, indices.data(), colormap.data());
}

} // namespace skyreel_test
