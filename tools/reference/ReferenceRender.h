// The straightforward renderer, frozen: the plain and transformed drawing
// exactly as the render context first did them (one SDL blit from the
// texture as loaded; one temporary surface allocated, cleared, filled and
// freed per transformed sprite). The render tests hold the real renderer's
// pictures against it and the benchmarks time the real renderer against it,
// on the same RenderContext. Keep it as it is.
#pragma once

#include "platform/Render.h"

#include <SDL/SDL.h>

namespace reference
{

// How a picture reaches the target: SDL_UpperBlit (what SDL_BlitSurface
// calls) to time SDL's own blit, or a test's blit that measures through one
// chosen blitter.
using Blit = int (*)(SDL_Surface* source, SDL_Rect* from, SDL_Surface* target, SDL_Rect* at);

// On the context's screen, with SDL's blit.
void DrawSpriteCommands(RenderContext* context);
void DrawSpritePlain(RenderContext* context, SpriteCommand* command);
void DrawSpriteTransformed(RenderContext* context, SpriteCommand* command);
// Draws the list, shows the screen and clears it to 0xFF000040.
void PresentFrame(RenderContext* context);

// The plain path onto `target`: the command's alpha set on the texture for
// the blit, then the texture's own restored.
void DrawPlainOnto(SDL_Surface* target, const SpriteCommand& command, Blit blit);
// The transformed path onto `target`: MakeTransformedSquare, blitted.
void DrawTransformedOnto(SDL_Surface* target, const SpriteCommand& command, Blit blit);
// The transformed path's N x N square in the texture's channel order with
// alpha (texels of a texture without alpha made opaque, pixels no texel
// lands on clear), and in `at` where its corner goes; the caller frees it.
// Null for a command the renderer refuses (see DrawSpriteTransformed in
// platform/Render.h).
SDL_Surface* MakeTransformedSquare(const SpriteCommand& command, SDL_Rect* at);

} // namespace reference
