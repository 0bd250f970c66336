#include "presentation/BackGroundManage.h"

#include "objects/SpriteItem.h"
#include "tests/support/RenderFixture.h"
#include "tests/support/SpriteChecks.h"

#include <cmath>

namespace
{
class BackGroundTest : public skyreel_test::RenderFixture
{
protected:
    void SetUp() override
    {
        RenderFixture::SetUp();
        background.Initialize(context);
        background.Reset();
        background.SetTargetAlpha(0.0f);
    }

    SpriteItem& Still() { return *background.layers[0]; }
    SpriteItem& Turning() { return *background.layers[1]; }

    BackGroundManage background;
};

TEST_F(BackGroundTest, ResetPlacesBothLayersOnTheFieldCentre)
{
    for (SpriteItem* layer : background.layers)
    {
        EXPECT_EQ(layer->x, 224.0f);
        EXPECT_EQ(layer->y, 240.0f);
        EXPECT_TRUE(layer->centered);
        EXPECT_EQ(layer->angle, 0.0f);
        EXPECT_TRUE(layer->active);
        EXPECT_TRUE(layer->visible);
        EXPECT_EQ(layer->renderContext, context);
    }
    EXPECT_EQ(PictureOf(Still()), sheet::StillBackground);
    EXPECT_EQ(Still().scale, 2.0f);
    EXPECT_EQ(Still().alpha, 1.0f);
    EXPECT_EQ(PictureOf(Turning()), sheet::TurningBackground);
    EXPECT_EQ(Turning().scale, 3.0f);
    EXPECT_EQ(Turning().alpha, 0.0f);
}

TEST_F(BackGroundTest, UpdateTurnsTheUpperLayerAndStepsItsOpacityAroundTheTarget)
{
    background.Update();
    EXPECT_EQ(Turning().angle, 100.0f);
    EXPECT_FLOAT_EQ(Turning().alpha, -0.01f);
    background.Update();
    EXPECT_EQ(Turning().angle, 200.0f);
    EXPECT_NEAR(Turning().alpha, 0.0f, 1e-6f);

    // The still layer never changes.
    EXPECT_EQ(Still().angle, 0.0f);
    EXPECT_EQ(Still().alpha, 1.0f);
}

TEST_F(BackGroundTest, AngleWrapsWithinOneTurn)
{
    Turning().angle = 65500.0f;
    background.Update();
    EXPECT_EQ(Turning().angle, 64.0f);
}

TEST_F(BackGroundTest, OpacityRisesToTheTargetThenSteps)
{
    background.SetTargetAlpha(1.0f);
    for (int i = 0; i < 100; ++i)
    {
        background.Update();
    }
    EXPECT_NEAR(Turning().alpha, 1.0f, 1e-3f);
    for (int i = 0; i < 20; ++i)
    {
        const float before = Turning().alpha;
        background.Update();
        EXPECT_NEAR(std::abs(Turning().alpha - before), 0.01f, 1e-5f);
        EXPECT_NEAR(Turning().alpha, 1.0f, 0.0101f);
    }
}

TEST_F(BackGroundTest, DrawTakesTheStillLayerFirst)
{
    background.Draw();
    ASSERT_EQ(Used(), 2);
    EXPECT_EQ(Command(0).u, 0);
    EXPECT_EQ(Command(1).u, 128);
    // Centred 128-pixel picture on screen pixel (192, 136).
    EXPECT_EQ(Command(0).x, 128);
    EXPECT_EQ(Command(0).y, 72);
    EXPECT_EQ(Command(0).scaleX, 2.0f);
    EXPECT_EQ(Command(1).scaleX, 3.0f);
}

using BackGroundBeforeReset = skyreel_test::RenderFixture;

TEST_F(BackGroundBeforeReset, DrawsNothing)
{
    BackGroundManage background;
    background.Initialize(context);
    background.Draw();
    EXPECT_EQ(Used(), 0);
}
} // namespace
