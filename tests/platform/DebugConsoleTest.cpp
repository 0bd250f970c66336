// Debug console: the line buffer, and the flush with a font made for the test.
#include "platform/DebugConsole.h"

#include "platform/Screen.h"
#include "tests/support/Files.h"
#include "tests/support/RenderFixture.h"

#include <filesystem>
#include <initializer_list>
#include <string>

using namespace skyreel_test;

namespace
{

class DebugConsoleTest : public DebugConsoleFixture
{
protected:
    void SetUp() override
    {
        DebugConsoleFixture::SetUp();
        ASSERT_TRUE(WriteCellFont(FontPath(), true)); // each cell's corner transparent
    }

    void Init()
    {
        InitConsole();
        ASSERT_EQ(gDebugConsole.ready, 1);
    }

    // Prints `lines` to a console whose overlay is opaque, which shows
    // exactly which rectangle reaches the screen, then flushes it.
    void FlushOnOpaqueOverlay(std::initializer_list<const char*> lines)
    {
        ASSERT_NO_FATAL_FAILURE(Init());
        SDL_FillRect(gDebugConsole.overlay, nullptr, 0xFFFFFFFFu);
        for (const char* line : lines)
        {
            DebugPrint(line);
        }
        FlushDebugConsole(context);
    }

    uint32_t Glyph(int k)
    {
        return SDL_MapRGB(context->screen->format, static_cast<Uint8>(k), 100, 200);
    }
};

} // namespace

TEST_F(DebugConsoleTest, BufferKeepsTwentyLinesOf127Characters)
{
    const std::string longText(200, 'x');
    DebugPrint(longText.c_str());
    EXPECT_EQ(std::string(gDebugConsole.lines[0]), std::string(127, 'x'));
    for (int i = 1; i < 20; ++i)
    {
        DebugPrint(("line " + std::to_string(i)).c_str());
    }
    EXPECT_EQ(gDebugConsole.lineCount, 20);
    DebugPrint("one too many");
    EXPECT_EQ(gDebugConsole.lineCount, 20);
    EXPECT_STREQ(gDebugConsole.lines[19], "line 19");
}

TEST_F(DebugConsoleTest, ConsoleStaysOffWithoutItsFont)
{
    {
        ScopedChdir elsewhere(std::filesystem::temp_directory_path().string());
        InitDebugConsole(context, ScreenWidth, ScreenHeight, ScreenDepth);
    }
    EXPECT_EQ(gDebugConsole.ready, 0);
    DebugPrint("Clock: 1");
    FlushDebugConsole(context);
    EXPECT_EQ(gDebugConsole.lineCount, 1); // not emptied while off
    EXPECT_EQ(Screen(8, 1), 0u);
}

TEST_F(DebugConsoleTest, FlushDrawsEachLineFromItsGlyphCellsAndEmptiesTheBuffer)
{
    Init();
    DebugPrint("AB");
    DebugPrint("");
    DebugPrint("C");
    FlushDebugConsole(context);
    EXPECT_EQ(gDebugConsole.lineCount, 0);
    EXPECT_EQ(Screen(0, 0), 0u); // the glyph's black pixel is transparent
    EXPECT_EQ(Screen(1, 0), Glyph('A'));
    EXPECT_EQ(Screen(7, 7), Glyph('A'));
    EXPECT_EQ(Screen(8, 0), 0u);
    EXPECT_EQ(Screen(9, 0), Glyph('B'));
    EXPECT_EQ(Screen(3, 10), 0u); // empty second line
    EXPECT_EQ(Screen(3, 20), Glyph('C'));
    EXPECT_EQ(Screen(16, 4), 0u);
    EXPECT_EQ(Screen(3, 24), 0u);

    // The overlay is cleared: the next flush shows only its own lines.
    SDL_FillRect(context->screen, nullptr, 0);
    DebugPrint("  D");
    FlushDebugConsole(context);
    EXPECT_EQ(Screen(1, 0), Glyph(' '));
    EXPECT_EQ(Screen(17, 0), Glyph('D'));
    EXPECT_EQ(Screen(3, 20), 0u);
}

TEST_F(DebugConsoleTest, FlushBlitsTheWidestLineByAllLines)
{
    FlushOnOpaqueOverlay({"12345", "123456789012", ""});
    int covered = 0;
    for (int y = 0; y < 40; ++y)
    {
        for (int x = 0; x < 120; ++x)
        {
            covered += Screen(x, y) != 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(covered, 96 * 24);
    EXPECT_NE(Screen(95, 23), 0u);
    EXPECT_EQ(Screen(96, 0), 0u);
    EXPECT_EQ(Screen(0, 24), 0u);
}

TEST_F(DebugConsoleTest, FlushOfEmptyLinesBlitsNothingButEmptiesTheBuffer)
{
    FlushOnOpaqueOverlay({"", ""});
    EXPECT_EQ(gDebugConsole.lineCount, 0);
    EXPECT_EQ(Screen(0, 0), 0u);
}

TEST_F(DebugConsoleTest, TextPositionsWrapLikeAnSdlRect)
{
    Init();
    DrawDebugText("A", 65536 + 16, 0); // x wraps to 16
    DrawDebugText("B", 0, 65536 + 16); // y is cut to 16 bits as well
    DrawDebugText("", 40, 40);
    EXPECT_EQ(GetPixel32(gDebugConsole.overlay, 17, 1),
              SDL_MapRGBA(gDebugConsole.overlay->format, 'A', 100, 200, 255));
    EXPECT_EQ(GetPixel32(gDebugConsole.overlay, 1, 17),
              SDL_MapRGBA(gDebugConsole.overlay->format, 'B', 100, 200, 255));
    EXPECT_EQ(GetPixel32(gDebugConsole.overlay, 16, 0), 0u);
}

TEST_F(DebugConsoleTest, CharacterCodesAbove127CountAsUnsigned)
{
    Init();
    const char text[] = {static_cast<char>(200), 0};
    DrawDebugText(text, 0, 0);
    EXPECT_EQ(GetPixel32(gDebugConsole.overlay, 1, 1),
              SDL_MapRGBA(gDebugConsole.overlay->format, 200, 100, 200, 255));
}

TEST(DebugFormat, WritesDecimalAndHexadecimal)
{
    char buffer[128];
    FormatDecimal(-42, buffer);
    EXPECT_STREQ(buffer, "-42");
    FormatHex(255, buffer);
    EXPECT_STREQ(buffer, "ff");
    FormatHex(-1, buffer);
    EXPECT_STREQ(buffer, "ffffffff");
}
