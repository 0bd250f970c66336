#include "Screenshot.h"

#include <cstdio>
#include <png.h>
#include <vector>

namespace sim
{
namespace
{

// One pixel's value, whatever the surface's depth (1 to 4 bytes per pixel).
Uint32 ReadPixel(const SDL_Surface* surface, int x, int y)
{
    const int bpp = surface->format->BytesPerPixel;
    const Uint8* p = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bpp;
    switch (bpp)
    {
    case 1:
        return *p;
    case 2:
        return *reinterpret_cast<const Uint16*>(p);
    case 3:
        if (SDL_BYTEORDER == SDL_BIG_ENDIAN)
        {
            return static_cast<Uint32>(p[0] << 16 | p[1] << 8 | p[2]);
        }
        return static_cast<Uint32>(p[0] | p[1] << 8 | p[2] << 16);
    default:
        return *reinterpret_cast<const Uint32*>(p);
    }
}

} // namespace

bool SavePng(SDL_Surface* surface, const std::string& path, std::string* error)
{
    if (surface == nullptr)
    {
        *error = "no screen to save";
        return false;
    }
    const int width = surface->w;
    const int height = surface->h;
    std::vector<png_byte> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0)
    {
        *error = "cannot lock the screen";
        return false;
    }
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            Uint8 r, g, b;
            SDL_GetRGB(ReadPixel(surface, x, y), surface->format, &r, &g, &b);
            png_byte* out = &rgb[(static_cast<size_t>(y) * static_cast<size_t>(width) +
                                  static_cast<size_t>(x)) *
                                 3];
            out[0] = r;
            out[1] = g;
            out[2] = b;
        }
    }
    if (SDL_MUSTLOCK(surface))
    {
        SDL_UnlockSurface(surface);
    }

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    if (png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), width * 3, nullptr) == 0)
    {
        *error = path + ": " + image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}

} // namespace sim
