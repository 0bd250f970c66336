// Pictures and the screen on the desktop: SDL_image decodes, and SDL's
// window shows the screen surface as it is drawn.
#include "platform/Port.h"

#include <SDL/SDL_image.h>

SDL_Surface* PortLoadPicture(const char* path)
{
    return IMG_Load(path);
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
    return SDL_SetVideoMode(width, height, bpp, 0);
}

void PortHoldScreen(SDL_Surface* /*screen*/) {}

void PortShowScreen(SDL_Surface* /*screen*/) {}

void PortClearScreen(SDL_Surface* screen, uint32_t pixel)
{
    // The desktop's screen is X, R, G, B already.
    SDL_FillRect(screen, nullptr, pixel);
}
