// Debug text drawn from positions far outside the screen: positions reach SDL
// as 16-bit values, so a text started anywhere in int's range lands where its
// 16-bit position says, without an integer overflow on the way.
#include "platform/DebugConsole.h"
#include "tests/support/Files.h"
#include "tests/support/RenderFixture.h"

#include <climits>
#include <filesystem>
#include <string>

using namespace skyreel_test;

namespace
{

class DebugTextPosition : public DebugConsoleFixture
{
protected:
    void SetUp() override
    {
        DebugConsoleFixture::SetUp();
        ASSERT_TRUE(WriteCellFont(FontPath()));
        InitConsole();
        ASSERT_EQ(gDebugConsole.ready, 1);
    }

    // Red channel of an overlay pixel: the glyph's character code, or 0 where
    // nothing was drawn.
    int CodeAt(int x, int y)
    {
        Uint8 r = 0;
        Uint8 g = 0;
        Uint8 b = 0;
        Uint8 a = 0;
        SDL_GetRGBA(GetPixel32(gDebugConsole.overlay, x, y), gDebugConsole.overlay->format, &r, &g,
                    &b, &a);
        return a == 0 ? 0 : r;
    }
};

} // namespace

// Started 8 pixels below INT_MAX's 16-bit wrap, the first glyph falls off the
// left edge and the second lands at column 0; the column used to be carried
// on in int and overflowed.
TEST_F(DebugTextPosition, ColumnWrapsAtSixteenBitsFromTheTopOfIntsRange)
{
    DrawDebugText("AB", INT_MAX - 7, 0); // 16-bit value 0xFFF8: column -8
    EXPECT_EQ(CodeAt(0, 0), 'B');
    EXPECT_EQ(CodeAt(7, 7), 'B');
    EXPECT_EQ(CodeAt(8, 0), 0);

    DrawDebugText("CD", -8, 8); // the same 16-bit column
    EXPECT_EQ(CodeAt(0, 8), 'D');
    EXPECT_EQ(CodeAt(8, 8), 0);
}

TEST_F(DebugTextPosition, RowIsTakenAsSignedSixteenBits)
{
    DrawDebugText("E", 16, 65536 + 16);
    EXPECT_EQ(CodeAt(16, 16), 'E');
    DrawDebugText("F", 32, INT_MIN + 24); // low 16 bits: 24
    EXPECT_EQ(CodeAt(32, 24), 'F');
}
