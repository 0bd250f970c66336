// Sound in the browser: Emscripten's mixer over Web Audio. Its file handles
// only name a file, and it reads the whole file through them at once.
#include "platform/Port.h"
#include "platform/web/WebHooks.h"

#include <emscripten.h>

bool PortHasSound()
{
    return EM_ASM_INT({
               return typeof AudioContext != 'undefined' || typeof webkitAudioContext != 'undefined'
                          ? 1
                          : 0;
           }) != 0;
}

// The handle only names the file, so freeing it closes nothing.
void PortCloseSoundFile(SDL_RWops* source)
{
    SDL_FreeRW(source);
}

Mix_Chunk* PortLoadEffect(SDL_RWops* source)
{
    Mix_Chunk* effect = Mix_LoadWAV_RW(source, 1);
    PortCloseSoundFile(source); // the browser's mixer keeps the handle otherwise
    return effect;
}

void PortPlayEffect(int channel, Mix_Chunk* effect, int n)
{
    // The browser's mixer lets a channel's earlier sound play on under a new
    // one; here, as on the desktop, the new one cuts it off.
    Mix_HaltChannel(channel);
    NoteWebEffect(n);
    Mix_PlayChannelTimed(channel, effect, 0, -1);
}

void PortMusicStarted(int n)
{
    NoteWebMusic(n);
}
