#include "platform/DebugConsole.h"

#include "platform/RenderInternal.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

DebugConsole gDebugConsole = {};

using render_detail::IsBlittable;

namespace
{

constexpr const char* FontPath = "data/ascii.bmp";
constexpr int GlyphsPerRow = 16;
constexpr int FormatBufferSize = 127;

} // namespace

void InitDebugConsole(RenderContext* context, int width, int height, int depth)
{
    FreeDebugConsole(); // a second set-up replaces the first

    gDebugConsole.lineCount = 0;
    gDebugConsole.ready = 1;
    SDL_Surface* bitmap = SDL_LoadBMP_RW(SDL_RWFromFile(FontPath, "rb"), 1);
    if (bitmap == nullptr)
    {
        gDebugConsole.ready = 0;
        return;
    }
    SDL_Surface* screen = context == nullptr ? nullptr : context->screen;
    gDebugConsole.font = screen == nullptr || !IsBlittable(bitmap)
                             ? nullptr
                             : SDL_ConvertSurface(bitmap, screen->format, 0);
    if (gDebugConsole.font == nullptr)
    {
        gDebugConsole.ready = 0;
    }
    else
    {
        SDL_SetColorKey(gDebugConsole.font, SDL_SRCCOLORKEY, 0);
    }
    gDebugConsole.overlay = SDL_CreateRGBSurface(0, width, height, depth, 0xFF000000u, 0x00FF0000u,
                                                 0x0000FF00u, 0x000000FFu);
    if (gDebugConsole.overlay != nullptr && !IsBlittable(gDebugConsole.overlay))
    {
        SDL_FreeSurface(gDebugConsole.overlay); // a depth SDL cannot draw into
        gDebugConsole.overlay = nullptr;
    }
    if (gDebugConsole.overlay == nullptr)
    {
        gDebugConsole.ready = 0;
    }
    SDL_FreeSurface(bitmap);
}

void FreeDebugConsole()
{
    SDL_FreeSurface(gDebugConsole.overlay); // null is ignored
    SDL_FreeSurface(gDebugConsole.font);
    gDebugConsole.overlay = nullptr;
    gDebugConsole.font = nullptr;
    gDebugConsole.ready = 0;
}

void DebugPrint(const char* text)
{
    if (text == nullptr || gDebugConsole.lineCount >= DebugLineCount)
    {
        return;
    }
    char* line = gDebugConsole.lines[gDebugConsole.lineCount];
    std::strncpy(line, text, DebugLineSize - 1);
    line[DebugLineSize - 1] = 0;
    ++gDebugConsole.lineCount;
}

void DrawDebugText(const char* text, int x, int y)
{
    if (text == nullptr || gDebugConsole.font == nullptr || gDebugConsole.overlay == nullptr)
    {
        return;
    }
    // Positions as an SDL_Rect holds them: x wraps at 16 bits, y is signed
    // 16-bit. The column is kept in 16 bits throughout, so a text started
    // near the top of int's range wraps instead of overflowing.
    auto column = static_cast<Uint16>(x);
    const size_t length = std::strlen(text);
    for (size_t i = 0; i < length; ++i)
    {
        const int code = static_cast<unsigned char>(text[i]);
        SDL_Rect glyph;
        glyph.x = static_cast<Sint16>(DebugGlyphSize * (code % GlyphsPerRow));
        glyph.y = static_cast<Sint16>(DebugGlyphSize * (code / GlyphsPerRow));
        glyph.w = DebugGlyphSize;
        glyph.h = DebugGlyphSize;
        SDL_Rect target;
        target.x = static_cast<Sint16>(column);
        target.y = static_cast<Sint16>(y);
        target.w = DebugGlyphSize;
        target.h = DebugGlyphSize;
        SDL_BlitSurface(gDebugConsole.font, &glyph, gDebugConsole.overlay, &target);
        column = static_cast<Uint16>(column + DebugGlyphSize);
    }
}

void FlushDebugConsole(RenderContext* context)
{
    if (gDebugConsole.ready == 0)
    {
        return;
    }
    int widest = 0;
    for (int i = 0; i < gDebugConsole.lineCount; ++i)
    {
        const char* line = gDebugConsole.lines[i];
        DrawDebugText(line, 0, DebugGlyphSize * i);
        const int width = DebugGlyphSize * static_cast<int>(std::strlen(line));
        if (width > widest)
        {
            widest = width;
        }
    }
    if (widest > 0)
    {
        if (context != nullptr && context->screen != nullptr)
        {
            SDL_Rect source;
            source.x = 0;
            source.y = 0;
            source.w = static_cast<Uint16>(widest);
            source.h = static_cast<Uint16>(DebugGlyphSize * gDebugConsole.lineCount);
            SDL_Rect target = {0, 0, 0, 0};
            SDL_BlitSurface(gDebugConsole.overlay, &source, context->screen, &target);
        }
        SDL_FillRect(gDebugConsole.overlay, nullptr, 0);
    }
    gDebugConsole.lineCount = 0;
}

void FormatDecimal(int value, char* buffer)
{
    std::snprintf(buffer, FormatBufferSize, "%d", value);
}

void FormatHex(int value, char* buffer)
{
    std::snprintf(buffer, FormatBufferSize, "%x", static_cast<unsigned>(value));
}
