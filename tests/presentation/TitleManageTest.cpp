#include "presentation/TitleManage.h"

#include "objects/SpriteItem.h"
#include "platform/Buttons.h"
#include "tests/support/RenderFixture.h"
#include "tests/support/SpriteChecks.h"

namespace
{
constexpr uint32_t Confirm = BUTTON_A;

class TitleTest : public skyreel_test::RenderFixture
{
protected:
    void SetUp() override
    {
        RenderFixture::SetUp();
        title.Initialize(context);
        title.Reset();
    }

    SpriteItem& Sprite(int i) { return *title.sprites[i]; }

    // Start plus the full 90-update slide, then the settle update.
    void RunToWaiting()
    {
        for (int i = 0; i < 1 + 90 + 1; ++i)
        {
            ASSERT_TRUE(title.Update(0));
        }
        ASSERT_EQ(title.state, TitleManage::StateWait);
    }

    TitleManage title;
};

TEST_F(TitleTest, ResetPlacesTheFivePictures)
{
    struct Expected
    {
        float x, y;
        bool centered;
        SheetRect picture;
        float scale;
        bool visible;
    };
    const Expected expected[5] = {
        {320.0f, 240.0f, true, sheet::TitleBackdrop, 5.5f, true},
        {16.0f, -64.0f, false, sheet::TitleStrip, 1.0f, true},
        {640.0f, 80.0f, false, sheet::TitleLargePicture, 1.0f, true},
        {32.0f, 80.0f, false, sheet::TitleCaption, 1.0f, false},
        {64.0f, 320.0f, false, sheet::TitlePrompt, 1.0f, false},
    };
    for (int i = 0; i < 5; ++i)
    {
        const Expected& e = expected[i];
        const SpriteItem& s = Sprite(i);
        EXPECT_EQ(s.x, e.x) << i;
        EXPECT_EQ(s.y, e.y) << i;
        EXPECT_EQ(s.centered, e.centered) << i;
        EXPECT_EQ(PictureOf(s), e.picture) << i;
        EXPECT_EQ(s.scale, e.scale) << i;
        EXPECT_EQ(s.visible, e.visible) << i;
        EXPECT_EQ(s.alpha, 1.0f) << i;
        EXPECT_TRUE(s.active) << i;
    }
    EXPECT_EQ(title.state, TitleManage::StateStart);
    EXPECT_EQ(title.timer, 0);
}

TEST_F(TitleTest, SlideInRunsNinetyUpdates)
{
    ASSERT_TRUE(title.Update(0));
    EXPECT_EQ(title.state, TitleManage::StateSlideIn);
    EXPECT_EQ(title.timer, 90);

    ASSERT_TRUE(title.Update(0)); // t = 90
    EXPECT_EQ(Sprite(2).x, 640.0f);
    EXPECT_EQ(Sprite(1).y, -64.0f);
    for (int i = 0; i < 88; ++i)
    {
        ASSERT_TRUE(title.Update(0));
        ASSERT_EQ(title.state, TitleManage::StateSlideIn);
    }
    ASSERT_TRUE(title.Update(0)); // t = 1
    EXPECT_EQ(title.state, TitleManage::StateSettle);
    EXPECT_FLOAT_EQ(Sprite(2).x, static_cast<float>(352.0 / 90.0 + 288.0));
    EXPECT_FLOAT_EQ(Sprite(1).y, static_cast<float>(80.0 / -90.0 + 16.0));
    EXPECT_FALSE(Sprite(3).visible);

    ASSERT_TRUE(title.Update(0)); // settle
    EXPECT_EQ(Sprite(1).y, 16.0f);
    EXPECT_EQ(Sprite(2).x, 288.0f);
    EXPECT_TRUE(Sprite(3).visible);
    EXPECT_TRUE(Sprite(4).visible);
    EXPECT_EQ(title.state, TitleManage::StateWait);
    EXPECT_EQ(title.timer, 0);
}

TEST_F(TitleTest, ConfirmDuringTheSlideCutsItShortWithoutConfirming)
{
    title.Update(0);
    title.Update(0);                    // t = 90
    ASSERT_TRUE(title.Update(Confirm)); // t = 89, positions still computed
    EXPECT_FALSE(title.IsConfirmPressed());
    EXPECT_EQ(title.state, TitleManage::StateSettle);
    EXPECT_FLOAT_EQ(Sprite(2).x, static_cast<float>(89.0 * 352.0 / 90.0 + 288.0));

    ASSERT_TRUE(title.Update(0));
    EXPECT_EQ(Sprite(2).x, 288.0f);
    EXPECT_EQ(Sprite(1).y, 16.0f);
    EXPECT_EQ(title.state, TitleManage::StateWait);
}

TEST_F(TitleTest, PromptBlinksEveryThirtyUpdatesWhileWaiting)
{
    RunToWaiting();
    for (int timer = 1; timer <= 150; ++timer)
    {
        ASSERT_TRUE(title.Update(0));
        const bool shown = (timer / 30) % 2 == 0;
        ASSERT_EQ(Sprite(4).visible, shown) << "timer " << timer;
    }
    EXPECT_TRUE(Sprite(3).visible);
}

TEST_F(TitleTest, ConfirmStartsNinetyOneUpdatesOfFastBlink)
{
    RunToWaiting();
    ASSERT_TRUE(title.Update(Confirm));
    EXPECT_TRUE(title.IsConfirmPressed());
    EXPECT_EQ(title.timer, 91);
    EXPECT_FALSE(Sprite(4).visible) << "91 / 30 is odd";

    int updates = 0;
    bool running = true;
    while (running && updates < 200)
    {
        const int t = title.timer;
        running = title.Update(0);
        ++updates;
        EXPECT_FALSE(title.IsConfirmPressed());
        EXPECT_EQ(Sprite(4).visible, (t / 3) % 2 == 0) << "t " << t;
    }
    EXPECT_EQ(updates, 91);
    EXPECT_EQ(title.state, TitleManage::StateFinished);

    // Finished: keeps reporting so and changes nothing, until the next Reset.
    const float promptX = Sprite(4).x;
    const bool promptShown = Sprite(4).visible;
    EXPECT_FALSE(title.Update(Confirm));
    EXPECT_FALSE(title.Update(0));
    EXPECT_FALSE(title.IsConfirmPressed());
    EXPECT_EQ(Sprite(4).x, promptX);
    EXPECT_EQ(Sprite(4).visible, promptShown);

    title.Reset();
    EXPECT_TRUE(title.Update(0));
    EXPECT_EQ(Sprite(2).x, 640.0f);
    EXPECT_FALSE(Sprite(4).visible);
}

TEST_F(TitleTest, DrawTakesTheVisiblePicturesInOrder)
{
    title.Draw();
    ASSERT_EQ(Used(), 3);
    EXPECT_EQ(Command(0).u, 0);
    EXPECT_EQ(Command(0).v, 448);
    EXPECT_EQ(Command(0).scaleX, 5.5f);
    // Backdrop: 64 pixels centred on field (320, 240) = screen (240, 136).
    EXPECT_EQ(Command(0).x, 208);
    EXPECT_EQ(Command(0).y, 104);
    EXPECT_EQ(Command(1).y, -16);
    EXPECT_EQ(Command(2).x, 400);

    RunToWaiting();
    ClearSpriteCommands(context);
    title.Draw();
    ASSERT_EQ(Used(), 5);
    EXPECT_EQ(Command(3).x, 96);
    EXPECT_EQ(Command(3).y, 56);
    EXPECT_EQ(Command(4).x, 112);
    EXPECT_EQ(Command(4).y, 176);
}
} // namespace
