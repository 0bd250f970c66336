#include "platform/web/WebHooks.h"

#include <emscripten.h>

namespace
{

constexpr int EffectNumbers = 64;

int gUpdates = 0;
int gEffectStarts[EffectNumbers] = {};
int gMusicStarts = 0;

} // namespace

void NoteWebUpdate()
{
    ++gUpdates;
}

void NoteWebEffect(int n)
{
    if (n >= 0 && n < EffectNumbers)
    {
        ++gEffectStarts[n];
    }
    // The page tells what the sounds mean to a player who cannot see.
    EM_ASM(
        {
            if (Module.onEffect)
            {
                Module.onEffect($0);
            }
        },
        n);
}

void NoteWebMusic(int /*n*/)
{
    ++gMusicStarts;
}

extern "C"
{

    // Game updates run since the page loaded.
    EMSCRIPTEN_KEEPALIVE int skyreel_updates()
    {
        return gUpdates;
    }

    // How often effect n was handed to the mixer since the page loaded.
    EMSCRIPTEN_KEEPALIVE int skyreel_effect_starts(int n)
    {
        return n >= 0 && n < EffectNumbers ? gEffectStarts[n] : 0;
    }

    // How often music was started since the page loaded.
    EMSCRIPTEN_KEEPALIVE int skyreel_music_starts()
    {
        return gMusicStarts;
    }

} // extern "C"
