// Render context: the screen surface, the texture slots and the per-frame
// list of sprite commands. Game code never blits; it takes the next command,
// fills it in, and the context draws the whole list in the order the commands
// were taken (painter's order) when the frame is presented.
#pragma once

#include <SDL/SDL.h>
#include <cstdint>

constexpr int TextureSlotCount = 16;
constexpr int SpriteCommandCount = 1024;

// What the renderer draws a loaded slot from. A picture loaded as it is
// (R, G, B, A in memory) does not suit the screen (X, R, G, B): SDL blends
// such a pair pixel by pixel through its slowest path. So a load also makes a
// copy in the screen's channel order with the alpha in the spare byte, which
// the renderer resamples and blends itself. The slot keeps the surface
// exactly as loaded (GetTexture returns it, commands carry it); the renderer
// finds the copy by that pointer. A loaded picture's pixels are not to be
// changed afterwards: the copy would not follow.
struct TextureDrawCopy
{
    SDL_Surface* source; // the slot's surface this copy was made from
    SDL_Surface* pixels; // the copy; owned
};

// Texture slots 0..15; the bank owns every surface it holds (null = empty).
struct TextureBank
{
    SDL_Surface* slots[TextureSlotCount];
    TextureDrawCopy copies[TextureSlotCount]; // all null when a slot has no copy
};

// One sprite to draw at the next present. Positions and sizes are screen
// pixels; angle is in degrees, positive turning counter-clockwise on screen.
struct SpriteCommand
{
    int32_t textureSlot; // slot the texture came from; informational only
    int32_t inUse;       // 1 = draw at the next present; any other value = skip
    int32_t x;           // top-left corner at scale 1
    int32_t y;
    int32_t width; // source rectangle size, also the unscaled on-screen size
    int32_t height;
    int32_t u; // source rectangle's top-left corner inside the texture
    int32_t v;
    float scaleX;
    float scaleY;
    float angle;
    uint8_t alpha;        // 0..255, used by the plain path only
    SDL_Surface* texture; // borrowed from the bank; null is never drawn
};

struct RenderContext
{
    SDL_Surface* screen;
    TextureBank* bank;
    SpriteCommand* commands[SpriteCommandCount];
    int32_t width;
    int32_t height;
    int32_t bpp;
    int32_t used; // commands handed out since the last clear, 0..1024
    // Temporary surface of the transformed path on screens whose format the
    // direct resampler does not handle; kept from one sprite to the next.
    SDL_Surface* scratch;
};

// Fixed-point trigonometry of the transformed path: 1024 x sin/cos of whole
// degrees 0..360, truncated toward zero.
extern const int32_t FixedSineTable[361];
extern const int32_t FixedCosineTable[361];

// Null when memory runs out. A video mode that cannot be set leaves `screen`
// null: such a context draws and presents nothing.
RenderContext* CreateRenderContext(int width, int height, int bpp);
void DestroyRenderContext(RenderContext* context);
void SetWindowCaption(RenderContext* context, const char* title);

void LoadTexture(RenderContext* context, int slot, const char* path);
void LoadTextureRaw(RenderContext* context, int slot, const char* path);
SDL_Surface* GetTexture(RenderContext* context, int slot);

// Never null on a valid context: past the 1024th request of a frame the last
// command is handed out again. The command comes as it was left; the caller
// sets `inUse` to 1 and every field it draws with.
SpriteCommand* NextSpriteCommand(RenderContext* context);
// The next command set to draw the w x h rectangle at (u, v) of `texture`
// with its top-left corner at screen (x, y): unscaled, unrotated, opaque.
// Null where NextSpriteCommand gives null.
SpriteCommand* QueueSprite(RenderContext* context, SDL_Surface* texture, int x, int y, int w, int h,
                           int u, int v);
void ClearSpriteCommands(RenderContext* context);
void DrawSpriteCommands(RenderContext* context);
// Where the renderer blends a picture with an alpha channel itself (below),
// a pixel of alpha a over screen pixel d gives d + (s - d) x a / 256 rounded
// down per channel: within one level of SDL's generic blitter. Opaque texels
// come out exactly and clear ones leave the screen as it was.

// One unscaled, unrotated blit, with the command's alpha (set on the texture
// for the blit, then restored). A texture blending as usual (with its alpha
// channel; per-surface alpha does not apply to such a picture) that has a
// draw copy, or is in the screen's order already, is blended by the renderer;
// anything else is blitted by SDL as it stands.
void DrawSpritePlain(RenderContext* context, SpriteCommand* command);
// Scaled and/or rotated by whole degrees, resampled in 22.10 fixed point into
// a square RGBA surface blitted centred on the unscaled sprite's centre; the
// command's alpha is not used. Texels outside the texture are transparent.
// On a 32-bit screen the square is never made: the part of it that reaches
// the screen is resampled and blended there directly, to the same picture.
// Draws nothing for a texture that is not 32-bit, an angle whose truncation is
// negative, a scale below 1/1024 (or not a number), or a surface side of 0 or
// above 8192 pixels.
void DrawSpriteTransformed(RenderContext* context, SpriteCommand* command);

// Draws the list, shows the screen, then clears it to 0xFF000040 for the next
// frame. The list itself is left as it is.
void PresentFrame(RenderContext* context);

TextureBank* CreateTextureBank();
void DestroyTextureBank(TextureBank* bank);
// Frees what the slot held, loads the picture (converted to the screen's
// format when `convert` is 1 and there is a screen) and makes its draw copy
// when it has an alpha channel in another order than the screen's. A file
// that does not load, or loads in a format SDL cannot blit (a damaged header),
// leaves the slot empty.
void LoadTextureSlot(TextureBank* bank, int slot, const char* path, SDL_Surface* screen,
                     int convert);
SDL_Surface* TextureBankGet(TextureBank* bank, int slot);

SpriteCommand* CreateSpriteCommand();
void DestroySpriteCommand(SpriteCommand* command);
