// Damaged font bitmaps and overlay depths given to the debug console: the
// console stays off, quietly, and a flush draws nothing and crashes nothing.
#include "platform/DebugConsole.h"
#include "tests/platform/PlatformTestSupport.h"

#include <cstdint>
#include <filesystem>
#include <string>

using namespace skyreel_test;

namespace
{

void Put16(std::string& out, uint16_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void Put32(std::string& out, uint32_t v)
{
    Put16(out, static_cast<uint16_t>(v & 0xFFFF));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

// An 8-pixel-wide bitmap with a 16-entry palette whose header claims
// `bitCount` bits per pixel and `height` rows (negative: stored top down);
// the pixel bytes are those of an 8 x 8 4-bit picture.
std::string Bitmap(uint16_t bitCount, int32_t height = 8)
{
    const uint32_t paletteBytes = 16 * 4;
    const uint32_t pixelBytes = 8 * 4;
    const uint32_t offset = 14 + 40 + paletteBytes;
    std::string out = "BM";
    Put32(out, offset + pixelBytes);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, 8); // width
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, bitCount);
    Put32(out, 0); // no compression
    Put32(out, pixelBytes);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 16);
    Put32(out, 0);
    for (uint32_t i = 0; i < paletteBytes + pixelBytes; ++i)
    {
        out += static_cast<char>(i * 7);
    }
    return out;
}

class DamagedFont : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sdl.ok());
        gDebugConsole = {};
        context = CreateRenderContext(480, 272, 32);
        ASSERT_NE(context, nullptr);
        std::filesystem::create_directory(dir.file("data"));
    }
    void TearDown() override
    {
        FreeDebugConsole();
        DestroyRenderContext(context);
    }

    void InitWithFont(const std::string& bytes, int depth = 32)
    {
        ASSERT_TRUE(WriteText(dir.file("data/ascii.bmp"), bytes));
        ScopedChdir here(dir.path());
        InitDebugConsole(context, 480, 272, depth);
    }

    ScopedSdl sdl{SDL_INIT_VIDEO};
    TempDir dir;
    RenderContext* context = nullptr;
};

} // namespace

TEST_F(DamagedFont, TheSameBitmapWithAFourBitHeaderIsAFont)
{
    InitWithFont(Bitmap(4));
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
        InitWithFont(Bitmap(bitCount));
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
    InitWithFont(Bitmap(4, INT32_MIN));
    EXPECT_EQ(gDebugConsole.ready, 0);
    DebugPrint("AB");
    FlushDebugConsole(context);

    InitWithFont(Bitmap(4, -8)); // an ordinary top-down bitmap
    EXPECT_EQ(gDebugConsole.ready, 1);
    DebugPrint("AB");
    FlushDebugConsole(context);
    EXPECT_EQ(gDebugConsole.lineCount, 0);
}

TEST_F(DamagedFont, EmptyOrCutShortBitmapLeavesTheConsoleOff)
{
    InitWithFont("");
    EXPECT_EQ(gDebugConsole.ready, 0);
    InitWithFont(Bitmap(4).substr(0, 40));
    EXPECT_EQ(gDebugConsole.ready, 0);
}

TEST_F(DamagedFont, AnOverlayDepthSdlCannotDrawIntoLeavesTheConsoleOff)
{
    InitWithFont(Bitmap(4), 33);
    EXPECT_EQ(gDebugConsole.ready, 0);
    EXPECT_EQ(gDebugConsole.overlay, nullptr);
    DrawDebugText("AB", 0, 0);
    FlushDebugConsole(context);
}
