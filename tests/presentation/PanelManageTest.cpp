#include "presentation/PanelManage.h"

#include "tests/support/RenderFixture.h"
#include "tests/support/SpriteChecks.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace
{
constexpr int DigitU(int d)
{
    return StripFrame(sheet::Digit, d).u;
}

class PanelTest : public skyreel_test::RenderFixture
{
protected:
    void SetUp() override
    {
        RenderFixture::SetUp();
        panel.Initialize(context);
    }

    // The visible digits among items first..first+count-1, read left to right.
    std::string Shown(int first, int count) const
    {
        std::vector<std::pair<float, char>> digits;
        for (int i = first; i < first + count; ++i)
        {
            const SpriteItem& item = panel.sprites[i];
            if (item.visible)
            {
                const int digit = (item.u - sheet::Digit.u) / sheet::Digit.width;
                digits.emplace_back(item.x, static_cast<char>('0' + digit));
            }
        }
        std::sort(digits.begin(), digits.end());
        std::string text;
        for (const auto& digit : digits)
        {
            text += digit.second;
        }
        return text;
    }

    PanelManage panel;
};

TEST_F(PanelTest, ScoreIsZeroPaddedWithTheLastDigitOnTheFirstItem)
{
    panel.SetScore(1234);
    panel.Update();
    EXPECT_EQ(Shown(PanelManage::ScoreDigitsItem, 8), "00001234");
    const SpriteItem& last = panel.sprites[2];
    EXPECT_EQ(last.u, DigitU(4));
    EXPECT_EQ(last.x, 592.0f);
    EXPECT_EQ(last.y, 82.0f);
    const SpriteItem& first = panel.sprites[9];
    EXPECT_EQ(first.u, DigitU(0));
    EXPECT_EQ(first.x, 480.0f);
    EXPECT_TRUE(ShowsPlainly(first, StripFrame(sheet::Digit, 0), false));
}

TEST_F(PanelTest, ZeroPaddedNumbersKeepOnlyTheirLastDigits)
{
    panel.SetScore(123456789);
    panel.SetHiScore(5);
    panel.Update();
    EXPECT_EQ(Shown(PanelManage::ScoreDigitsItem, 8), "23456789");
    EXPECT_EQ(Shown(PanelManage::HiScoreDigitsItem, 8), "00000005");
    EXPECT_EQ(panel.sprites[11].y, 142.0f);
}

TEST_F(PanelTest, LeftAlignedNumbersStartAtTheLeftAndHideUnusedItems)
{
    panel.SetGraze(0);
    panel.SetStage(1005);
    panel.Update();
    EXPECT_EQ(Shown(PanelManage::GrazeDigitsItem, 6), "0");
    EXPECT_EQ(panel.sprites[21].x, 480.0f);
    EXPECT_EQ(panel.sprites[21].y, 202.0f);
    for (int i = 22; i <= 26; ++i)
    {
        EXPECT_FALSE(panel.sprites[i].visible) << i;
        EXPECT_FALSE(panel.sprites[i].active) << i;
    }

    EXPECT_EQ(Shown(PanelManage::StageDigitsItem, 6), "1005");
    for (int k = 0; k < 4; ++k)
    {
        EXPECT_EQ(panel.sprites[31 + k].x, 480.0f + 16.0f * k);
        EXPECT_EQ(panel.sprites[31 + k].y, 262.0f);
    }
    EXPECT_FALSE(panel.sprites[35].visible);
    EXPECT_FALSE(panel.sprites[36].visible);
}

TEST_F(PanelTest, LeftAlignedNumbersConsiderOnlyTheirLastDigits)
{
    panel.SetGraze(1000005);
    panel.Update();
    EXPECT_EQ(Shown(PanelManage::GrazeDigitsItem, 6), "5");
    EXPECT_EQ(panel.sprites[21].x, 480.0f);
}

TEST_F(PanelTest, AShorterNumberLeavesNoStaleDigit)
{
    panel.SetStage(345);
    panel.Update();
    ASSERT_TRUE(panel.sprites[33].visible);
    panel.SetStage(12);
    panel.Update();
    EXPECT_EQ(Shown(PanelManage::StageDigitsItem, 6), "12");
    EXPECT_FALSE(panel.sprites[33].visible);
}

TEST_F(PanelTest, NegativeValuesShowAsZero)
{
    panel.SetScore(-42);
    panel.SetGraze(-7);
    panel.SetStage(INT32_MIN);
    panel.Update();
    EXPECT_EQ(Shown(PanelManage::ScoreDigitsItem, 8), "00000000");
    EXPECT_EQ(Shown(PanelManage::GrazeDigitsItem, 6), "0");
    EXPECT_EQ(Shown(PanelManage::StageDigitsItem, 6), "0");
    for (const SpriteItem& item : panel.sprites)
    {
        if (item.visible && item.v == sheet::Digit.v && item.width == sheet::Digit.width)
        {
            EXPECT_GE(item.u, DigitU(0));
            EXPECT_LE(item.u, DigitU(9));
        }
    }
}

TEST_F(PanelTest, NumbersRunningPastTheLastItemAreCutOff)
{
    // Items 45..49 exist; the three digits beyond them are dropped, not written
    // past the panel's items.
    panel.SetZeroPaddedNumber(12345678, 8, 45, 0, 0);
    EXPECT_EQ(panel.sprites[45].u, DigitU(8));
    EXPECT_EQ(panel.sprites[49].u, DigitU(4));
    panel.SetLeftAlignedNumber(987654, 6, 46, 0, 0);
    EXPECT_EQ(panel.sprites[46].u, DigitU(9));
    EXPECT_EQ(panel.sprites[49].u, DigitU(6));
    panel.SetLeftAlignedNumber(5, 12, 0, 0, 0); // count wider than an int32
    EXPECT_EQ(panel.sprites[0].u, DigitU(5));
    EXPECT_FALSE(panel.sprites[1].visible);
}

TEST_F(PanelTest, CaptionsAndBackgroundComeFromTheSheet)
{
    panel.Update();
    const SpriteItem& background = panel.sprites[PanelManage::BackgroundItem];
    EXPECT_EQ(background.x, 448.0f);
    EXPECT_EQ(background.y, 0.0f);
    EXPECT_TRUE(ShowsPlainly(background, sheet::PanelBackground, false));
    struct Caption
    {
        int item;
        float y;
        SheetRect picture;
    };
    for (const Caption& c :
         {Caption{1, 64.0f, sheet::ScoreCaption}, Caption{10, 124.0f, sheet::HiScoreCaption},
          Caption{20, 184.0f, sheet::GrazeCaption}, Caption{30, 244.0f, sheet::StageCaption}})
    {
        const SpriteItem& item = panel.sprites[c.item];
        EXPECT_EQ(item.x, 480.0f) << c.item;
        EXPECT_EQ(item.y, c.y) << c.item;
        EXPECT_TRUE(ShowsPlainly(item, c.picture, false)) << c.item;
    }
}

TEST_F(PanelTest, BannerIsDrawnOnlyInGameOver)
{
    panel.Draw();
    EXPECT_EQ(Used(), 0) << "nothing is visible before the first layout";

    panel.SetStage(1);
    panel.Update();
    ClearSpriteCommands(context);
    panel.Draw();
    // background, 4 captions, 8 + 8 score digits, one graze digit, one stage digit
    EXPECT_EQ(Used(), 23);
    EXPECT_FALSE(panel.sprites[PanelManage::BannerItem].visible);

    panel.SetGameOver(true);
    panel.Update();
    ClearSpriteCommands(context);
    panel.Draw();
    ASSERT_EQ(Used(), 24);
    const SpriteCommand& banner = Command(23);
    EXPECT_EQ(banner.x, 192);
    EXPECT_EQ(banner.y, 136);
    EXPECT_EQ((SheetRect{banner.u, banner.v, banner.width, banner.height}), sheet::GameOverBanner);

    // The panel background is the first command: drawn under the numbers.
    EXPECT_EQ(Command(0).x, 304);
    EXPECT_EQ(Command(0).y, 16);
}
} // namespace
