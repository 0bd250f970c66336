#include "tests/damaged/PngFiles.h"

#include <png.h>

namespace skyreel_damaged
{

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

} // namespace skyreel_damaged
