#include "platform/web/WebSurfaces.h"

#include <cstdint>
#include <cstring>

// Emscripten's image decoder, linked in for SDL's loader.
extern "C" unsigned char* stbi_load(const char* path, int* width, int* height, int* channels,
                                    int wantedChannels);
extern "C" void stbi_image_free(void* pixels);

namespace
{

constexpr int PictureChannels = 4;
// R, G, B, A in byte order, read as little-endian words.
constexpr uint32_t PictureRmask = 0x000000FFu;
constexpr uint32_t PictureGmask = 0x0000FF00u;
constexpr uint32_t PictureBmask = 0x00FF0000u;
constexpr uint32_t PictureAmask = 0xFF000000u;

} // namespace

SDL_Surface* LoadWebPicture(const char* path)
{
    int width = 0;
    int height = 0;
    int channels = 0;
    unsigned char* decoded = stbi_load(path, &width, &height, &channels, PictureChannels);
    if (decoded == nullptr)
    {
        return nullptr;
    }
    SDL_Surface* picture =
        SDL_CreateRGBSurface(SDL_SWSURFACE | SDL_SRCALPHA, width, height, 32, PictureRmask,
                             PictureGmask, PictureBmask, PictureAmask);
    // The lock reads the (empty) canvas into memory; the pixels come after.
    if (picture != nullptr && SDL_LockSurface(picture) == 0 && picture->pixels != nullptr)
    {
        const size_t rowBytes = static_cast<size_t>(width) * PictureChannels;
        for (int y = 0; y < height; ++y)
        {
            std::memcpy(static_cast<uint8_t*>(picture->pixels) + y * picture->pitch,
                        decoded + static_cast<size_t>(y) * rowBytes, rowBytes);
        }
    }
    else if (picture != nullptr)
    {
        SDL_FreeSurface(picture);
        picture = nullptr;
    }
    stbi_image_free(decoded);
    return picture;
}

void HoldWebScreen(SDL_Surface* screen)
{
    SDL_LockSurface(screen);
}

void ShowWebScreen(SDL_Surface* screen)
{
    // Ending the outermost lock writes memory to the canvas; the new lock
    // does not read it back (the page sets Module.screenIsReadOnly).
    SDL_UnlockSurface(screen);
    SDL_LockSurface(screen);
}
