// Debug text console: lines gathered during a frame and, when flushed, drawn
// in the screen's top-left corner with the 8 x 8 font "data/ascii.bmp".
#pragma once

#include "platform/Render.h"

#include <cstdint>

constexpr int DebugLineCount = 20;
constexpr int DebugLineSize = 128; // 127 characters and the terminator
constexpr int DebugGlyphSize = 8;  // pixels; 16 glyph cells to a font row

// Module-level state; zero (off) until InitDebugConsole.
struct DebugConsole
{
    int32_t ready;        // 1 when font and overlay exist; the flush needs it
    SDL_Surface* font;    // screen format, colour key on pixel value 0
    SDL_Surface* overlay; // RGBA surface the text is drawn into
    int32_t lineCount;    // lines stored since the last flush, 0..20
    char lines[DebugLineCount][DebugLineSize];
};

extern DebugConsole gDebugConsole;

void InitDebugConsole(RenderContext* context, int width, int height, int depth);
void FreeDebugConsole();

// Stores a line for the next flush (its first 127 characters); dropped when
// 20 lines are already waiting.
void DebugPrint(const char* text);

// Draws text into the overlay, one 8-pixel glyph per character from (x, y).
void DrawDebugText(const char* text, int x, int y);

// Draws the stored lines onto the screen and forgets them; nothing at all
// while the console is off.
void FlushDebugConsole(RenderContext* context);

void FormatDecimal(int value, char* buffer);
void FormatHex(int value, char* buffer);
