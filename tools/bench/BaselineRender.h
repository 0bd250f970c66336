// The straightforward renderer, kept as the benchmarks' yardstick: the plain
// and transformed drawing exactly as the render context first did them (one
// SDL blit from the texture as loaded; one temporary RGBA surface allocated,
// cleared, filled and freed per transformed sprite). It draws into the same
// RenderContext as the real renderer, so both can be timed on one frame.
#pragma once

#include "platform/Render.h"

namespace baseline
{

void DrawSpriteCommands(RenderContext* context);
void DrawSpritePlain(RenderContext* context, SpriteCommand* command);
void DrawSpriteTransformed(RenderContext* context, SpriteCommand* command);
// Draws the list, shows the screen and clears it to 0xFF000040.
void PresentFrame(RenderContext* context);

} // namespace baseline
