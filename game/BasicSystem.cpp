#include "game/BasicSystem.h"

#include "platform/DebugConsole.h"
#include "platform/Input.h"
#include "platform/Sound.h"

namespace
{

// Texture slots, in load order.
constexpr const char* TextureFiles[] = {
    "data/texture1.png", // slot 0: the sprite sheet of every game picture
    "data/clip1.png",    // slot 1: the overlay laid over every picture
};

} // namespace

BasicSystem::~BasicSystem()
{
    StopBgm();
}

void BasicSystem::Initialize()
{
    StopMusic();
    StopAllSoundEffects();
    if (renderContext != nullptr)
    {
        int slot = 0;
        for (const char* file : TextureFiles)
        {
            LoadTextureRaw(renderContext, slot, file);
            ++slot;
        }
    }
}

void BasicSystem::BeginFrame()
{
    ClearSpriteCommands(renderContext);
}

uint32_t BasicSystem::GetHeldButtons()
{
    return GetPadHeld(0);
}

uint32_t BasicSystem::GetPressedButtons()
{
    return GetPadPressed(0);
}

void BasicSystem::PlaySe(int n)
{
    PlaySoundEffect(n);
}

void BasicSystem::PlayBgm(int n)
{
    PlayMusicLoop(n);
}

void BasicSystem::StopBgm()
{
    StopMusic();
}

void BasicSystem::PrintDebug(const char* text)
{
    DebugPrint(text);
}
