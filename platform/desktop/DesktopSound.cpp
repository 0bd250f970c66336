// Sound on the desktop: SDL_mixer on the machine's sound device.
#include "platform/Port.h"

bool PortHasSound()
{
    return true;
}

void PortCloseSoundFile(SDL_RWops* source)
{
    SDL_RWclose(source);
}

Mix_Chunk* PortLoadEffect(SDL_RWops* source)
{
    return Mix_LoadWAV_RW(source, 1);
}

void PortPlayEffect(int channel, Mix_Chunk* effect, int /*n*/)
{
    Mix_PlayChannelTimed(channel, effect, 0, -1);
}

void PortMusicStarted(int /*n*/) {}
