// Pictures and the screen on Windows: stb_image decodes PNG (SDL_image has no
// Windows build here) and SDL decodes BMP; at a scale above 1 the game draws
// into a picture of its own size, which each present enlarges into the
// window with sharp pixels.
#include "platform/Port.h"
#include "platform/windows/WindowsWindow.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <stb_image.h>

namespace
{

int currentScale = MinWindowScale;

// R, G, B, A in byte order, as SDL_image gives a PNG with alpha.
constexpr uint32_t PictureRmask = 0x000000FFu;
constexpr uint32_t PictureGmask = 0x0000FF00u;
constexpr uint32_t PictureBmask = 0x00FF0000u;
constexpr uint32_t PictureAmask = 0xFF000000u;
constexpr int PictureChannels = 4;

SDL_Surface* DecodePng(const unsigned char* bytes, int size)
{
    int width = 0;
    int height = 0;
    int channels = 0;
    unsigned char* decoded =
        stbi_load_from_memory(bytes, size, &width, &height, &channels, PictureChannels);
    if (decoded == nullptr)
    {
        return nullptr;
    }
    SDL_Surface* picture =
        SDL_CreateRGBSurface(SDL_SWSURFACE | SDL_SRCALPHA, width, height, 32, PictureRmask,
                             PictureGmask, PictureBmask, PictureAmask);
    if (picture != nullptr)
    {
        const size_t rowBytes = static_cast<size_t>(width) * PictureChannels;
        for (int y = 0; y < height; ++y)
        {
            std::memcpy(static_cast<uint8_t*>(picture->pixels) + y * picture->pitch,
                        decoded + static_cast<size_t>(y) * rowBytes, rowBytes);
        }
    }
    stbi_image_free(decoded);
    return picture;
}

// Each picture pixel becomes a scale x scale block of the window's; both
// surfaces are 32 bits per pixel in one channel order.
void Enlarge(const SDL_Surface* picture, SDL_Surface* window, int scale)
{
    for (int y = 0; y < picture->h; ++y)
    {
        const auto* source = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(picture->pixels) + y * picture->pitch);
        auto* first = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(window->pixels) +
                                                  y * scale * window->pitch);
        for (int x = 0; x < picture->w; ++x)
        {
            std::fill_n(first + x * scale, scale, source[x]);
        }
        const size_t rowBytes =
            static_cast<size_t>(picture->w) * static_cast<size_t>(scale) * sizeof(uint32_t);
        for (int copy = 1; copy < scale; ++copy)
        {
            std::memcpy(static_cast<uint8_t*>(window->pixels) + (y * scale + copy) * window->pitch,
                        first, rowBytes);
        }
    }
}

} // namespace

SDL_Surface* PortLoadPicture(const char* path)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
    {
        return nullptr;
    }
    std::vector<unsigned char> bytes;
    unsigned char block[65536];
    size_t got = 0;
    while ((got = std::fread(block, 1, sizeof(block), file)) > 0)
    {
        bytes.insert(bytes.end(), block, block + got);
    }
    std::fclose(file);
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
    {
        return SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
    }
    return DecodePng(bytes.data(), static_cast<int>(bytes.size()));
}

bool PortPicturesAreDrawReady()
{
    return false;
}

Uint8 PortSurfaceAlpha(const SDL_Surface* surface)
{
    return surface->format->alpha;
}

SDL_Surface* PortOpenScreen(int width, int height, int bpp)
{
    currentScale = WindowScale();
    SDL_Surface* window = nullptr;
    if (currentScale != MinWindowScale && bpp == 32)
    {
        window = SDL_SetVideoMode(width * currentScale, height * currentScale, bpp, 0);
    }
    if (window == nullptr)
    {
        // Unscaled, also when the larger window cannot be had.
        currentScale = MinWindowScale;
        return SDL_SetVideoMode(width, height, bpp, 0);
    }
    // The game's picture, in the window's channel order.
    const SDL_PixelFormat* format = window->format;
    return SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, bpp, format->Rmask, format->Gmask,
                                format->Bmask, 0);
}

void PortHoldScreen(SDL_Surface* /*screen*/) {}

void PortShowScreen(SDL_Surface* screen)
{
    SDL_Surface* window = SDL_GetVideoSurface();
    if (window == nullptr || window == screen)
    {
        return;
    }
    if (SDL_LockSurface(window) != 0)
    {
        return;
    }
    Enlarge(screen, window, currentScale);
    SDL_UnlockSurface(window);
    SDL_UpdateRect(window, 0, 0, 0, 0);
}

void PortClearScreen(SDL_Surface* screen, uint32_t pixel)
{
    // The screen is X, R, G, B, as on the desktop.
    SDL_FillRect(screen, nullptr, pixel);
}
