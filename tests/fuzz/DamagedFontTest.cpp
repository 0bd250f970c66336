// Damaged font bitmaps and overlay depths given to the debug console: the
// console stays off, quietly, and a flush draws nothing and crashes nothing.
#include "platform/DebugConsole.h"
#include "tests/support/Files.h"
#include "tests/support/RenderFixture.h"

#include <cstdint>
#include <filesystem>
#include <string>

using namespace skyreel_test;

namespace
{

using DamagedFont = DebugConsoleFixture;

} // namespace

TEST_F(DamagedFont, TheSameBitmapWithAFourBitHeaderIsAFont)
{
    InitWithFont(FourBitBmp(4));
    EXPECT_EQ(gDebugConsole.ready, 1);
    DebugPrint("AB");
    FlushDebugConsole(context);
    EXPECT_EQ(gDebugConsole.lineCount, 0);
}

// SDL read the bit count 0x2004 as a 4-bit surface without a palette, and
// converting that to the screen's format read through a null pointer.
TEST_F(DamagedFont, ABitCountSdlCannotHoldLeavesTheConsoleOff)
{
    for (uint16_t bitCount : {0x2004, 0x0104, 0x0020 | 0x0100, 3, 7, 0})
    {
        InitWithFont(FourBitBmp(bitCount));
        EXPECT_EQ(gDebugConsole.ready, 0) << "bit count " << bitCount;
        EXPECT_EQ(gDebugConsole.font, nullptr) << "bit count " << bitCount;
        DebugPrint("AB");
        FlushDebugConsole(context); // off: draws nothing, keeps the line
        EXPECT_EQ(gDebugConsole.lineCount, 1);
        gDebugConsole.lineCount = 0;
    }
}

// SDL took the height -2^31 as it stands (its negation overflows) and made a
// surface of that height over 32 bytes of pixels; the first glyph blitted
// from it read far outside them.
TEST_F(DamagedFont, AHeightOfMinusTwoToThe31LeavesTheConsoleOff)
{
    InitWithFont(FourBitBmp(4, 0x80000000u));
    EXPECT_EQ(gDebugConsole.ready, 0);
    DebugPrint("AB");
    FlushDebugConsole(context);

    InitWithFont(FourBitBmp(4, static_cast<uint32_t>(-8))); // an ordinary top-down bitmap
    EXPECT_EQ(gDebugConsole.ready, 1);
    DebugPrint("AB");
    FlushDebugConsole(context);
    EXPECT_EQ(gDebugConsole.lineCount, 0);
}

TEST_F(DamagedFont, EmptyOrCutShortBitmapLeavesTheConsoleOff)
{
    InitWithFont("");
    EXPECT_EQ(gDebugConsole.ready, 0);
    InitWithFont(FourBitBmp(4).substr(0, 40));
    EXPECT_EQ(gDebugConsole.ready, 0);
}

TEST_F(DamagedFont, AnOverlayDepthSdlCannotDrawIntoLeavesTheConsoleOff)
{
    InitWithFont(FourBitBmp(4), 33);
    EXPECT_EQ(gDebugConsole.ready, 0);
    EXPECT_EQ(gDebugConsole.overlay, nullptr);
    DrawDebugText("AB", 0, 0);
    FlushDebugConsole(context);
}
