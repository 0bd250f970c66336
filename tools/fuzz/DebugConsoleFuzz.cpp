// Fuzz target: the debug console with an arbitrary font bitmap as
// "data/ascii.bmp", an arbitrary overlay size and depth, and arbitrary text
// lines, printed and flushed onto a dummy-driver screen.
//
// Input: overlay width and height (uint16 each), a depth byte, the position
// of one extra text (int32 x, int32 y), the font's length (uint16) and its
// bytes, then the text: lines split at line feeds, more than the console
// holds.
#include "FuzzSupport.h"
#include "platform/DebugConsole.h"
#include "platform/Render.h"

#include <SDL/SDL.h>
#include <cstring>
#include <string>

using namespace skyreel_fuzz;

namespace
{

constexpr int MaxOverlaySide = 1024;
constexpr int Depths[] = {32, 24, 16, 15, 8, 1, 0, 33};
constexpr size_t MaxLines = DebugLineCount + 5;

void CheckLines()
{
    if (gDebugConsole.lineCount < 0 || gDebugConsole.lineCount > DebugLineCount)
    {
        Fail("lineCount out of range");
    }
    for (const char* line : gDebugConsole.lines)
    {
        if (std::memchr(line, 0, DebugLineSize) == nullptr)
        {
            Fail("a stored line is not terminated");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RenderContext* context = ScreenContext();
    FuzzReader in(data, size);
    const int width = in.Take<uint16_t>() % (MaxOverlaySide + 1);
    const int height = in.Take<uint16_t>() % (MaxOverlaySide + 1);
    const int depth = Depths[in.Take<uint8_t>() % (sizeof Depths / sizeof Depths[0])];
    const int32_t textX = in.Take<int32_t>();
    const int32_t textY = in.Take<int32_t>();
    const std::string font = in.TakeBytes(in.Take<uint16_t>());
    const std::string text = in.TakeBytes(in.remaining());

    WriteFile("data/ascii.bmp", reinterpret_cast<const uint8_t*>(font.data()), font.size());
    InitDebugConsole(context, width, height, depth);

    // Each line as a C string: an embedded NUL ends it early, as in the game.
    size_t start = 0;
    size_t lines = 0;
    while (start <= text.size() && lines < MaxLines)
    {
        size_t stop = text.find('\n', start);
        if (stop == std::string::npos)
        {
            stop = text.size();
        }
        DebugPrint(text.substr(start, stop - start).c_str());
        CheckLines();
        start = stop + 1;
        ++lines;
    }
    FlushDebugConsole(context);
    CheckLines();

    DrawDebugText(text.c_str(), textX, textY);
    DebugPrint(text.c_str());
    FlushDebugConsole(context);
    CheckLines();

    FreeDebugConsole();
    // A flush with the console off keeps its lines; none may be drawn.
    DebugPrint("after");
    FlushDebugConsole(context);
    CheckLines();
    gDebugConsole.lineCount = 0;
    return 0;
}
