// Pictures and the screen in the browser. There SDL keeps every surface
// twice, as pixels in memory and as a canvas, and moves the whole picture
// between the two at every outermost lock and unlock: memory is read from the
// canvas when a lock begins and written to it when the lock ends. The
// renderer works on memory only, so its surfaces stay locked for their whole
// life (its own lock and unlock pairs then cost nothing), and the screen
// reaches the page canvas once per picture.
#include "platform/Port.h"

#include <algorithm>
#include <bit>
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

// Decoded straight into memory: 32 bits, R, G, B, A in byte order, blending
// with its alpha, held locked. (SDL's own loader keeps the pixels only in a
// canvas, whose premultiplied alpha would change partly clear texels.)
SDL_Surface* PortLoadPicture(const char* path)
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

// The browser's screen is R, G, B, A in byte order too.
bool PortPicturesAreDrawReady()
{
    return true;
}

// The browser's SDL keeps no per-surface alpha.
Uint8 PortSurfaceAlpha(const SDL_Surface* /*surface*/)
{
    return 255;
}

SDL_Surface* PortOpenScreen(int width, int height, int bpp)
{
    return SDL_SetVideoMode(width, height, bpp, 0);
}

void PortHoldScreen(SDL_Surface* screen)
{
    SDL_LockSurface(screen);
}

void PortShowScreen(SDL_Surface* screen)
{
    // Ending the outermost lock writes memory to the canvas; the new lock
    // does not read it back (the page sets Module.screenIsReadOnly).
    SDL_UnlockSurface(screen);
    SDL_LockSurface(screen);
}

// SDL's fill in the browser paints the canvas, not the memory the renderer
// draws in; the memory is cleared here instead.
void PortClearScreen(SDL_Surface* screen, uint32_t pixel)
{
    const SDL_PixelFormat* f = screen->format;
    const uint32_t red = (pixel >> 16) & 0xFF;
    const uint32_t green = (pixel >> 8) & 0xFF;
    const uint32_t blue = pixel & 0xFF;
    const uint32_t spare = ~(f->Rmask | f->Gmask | f->Bmask);
    const uint32_t stored = (pixel & 0xFF000000u & spare) | red << std::countr_zero(f->Rmask) |
                            green << std::countr_zero(f->Gmask) |
                            blue << std::countr_zero(f->Bmask);
    for (int y = 0; y < screen->h; ++y)
    {
        auto* row =
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(screen->pixels) + y * screen->pitch);
        std::fill(row, row + screen->w, stored);
    }
}
