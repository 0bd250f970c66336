// BasicSystem: the facade through which the GameDirector reaches input,
// sound and the debug console. No other game object uses it.
#pragma once

#include "platform/Render.h"

#include <cstdint>

class BasicSystem
{
public:
    virtual ~BasicSystem(); // stops the music

    // Stops music and effects, then loads texture slot 0 (the sprite sheet)
    // and slot 1 (the full-screen overlay) when there is a render context.
    void Initialize();
    // Empties the sprite list for a new update.
    void BeginFrame();

    // Buttons of pad 0: held now, and newly pressed in the last input update.
    uint32_t GetHeldButtons();
    uint32_t GetPressedButtons();

    void PlaySe(int n);
    // Music n, repeated without end.
    void PlayBgm(int n);
    void StopBgm();
    // One line for the debug console.
    void PrintDebug(const char* text);

    RenderContext* renderContext = nullptr; // not owned; set by the session
};
