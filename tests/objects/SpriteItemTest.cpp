#include "objects/SpriteItem.h"

#include "bullets/Angle.h"
#include "tests/support/RenderFixture.h"

#include <gtest/gtest.h>

namespace
{

class SpriteDraw : public skyreel_test::RenderFixture
{
protected:
    void SetUp() override
    {
        RenderFixture::SetUp();
        item.SetRenderContext(context);
        item.visible = true;
        item.width = 16;
        item.height = 24;
    }
    // Draws once and returns the command taken.
    const SpriteCommand& DrawOnce()
    {
        const int before = Used();
        EXPECT_TRUE(item.Draw());
        EXPECT_EQ(Used(), before + 1);
        return Command(before);
    }
    SpriteItem item;
};

} // namespace

TEST(SpriteItemConstruction, StartsInvisibleAtOriginWithFullOpacity)
{
    const SpriteItem item;
    EXPECT_EQ(item.x, 0.0f);
    EXPECT_EQ(item.y, 0.0f);
    EXPECT_EQ(item.alpha, 1.0f);
    EXPECT_EQ(item.scale, 1.0f);
    EXPECT_FALSE(item.active);
    EXPECT_FALSE(item.visible);
    EXPECT_EQ(item.texture, 0);
    EXPECT_EQ(item.renderContext, nullptr);
}

TEST_F(SpriteDraw, InvisibleOrContextlessObjectTakesNoCommand)
{
    item.visible = false;
    EXPECT_TRUE(item.Draw());
    EXPECT_EQ(Used(), 0);

    item.visible = true;
    item.SetRenderContext(nullptr);
    EXPECT_TRUE(item.Draw());
    EXPECT_EQ(Used(), 0);
}

TEST_F(SpriteDraw, CentredSpriteIsPlacedByItsUnscaledSize)
{
    item.centered = true;
    item.x = 224.0f;
    item.y = 460.0f;
    item.scale = 2.0f;
    const SpriteCommand& cmd = DrawOnce();
    EXPECT_EQ(cmd.x, 184);
    EXPECT_EQ(cmd.y, 234);
    EXPECT_EQ(cmd.width, 16);
    EXPECT_EQ(cmd.height, 24);
    EXPECT_EQ(cmd.scaleX, 2.0f);
    EXPECT_EQ(cmd.scaleY, 2.0f);
    EXPECT_EQ(cmd.inUse, 1);
}

TEST_F(SpriteDraw, PositionsTruncateThenHalveTowardZero)
{
    item.x = -3.5f; // -3, halved to -1
    item.y = 5.9f;  // 5, halved to 2
    const SpriteCommand& corner = DrawOnce();
    EXPECT_EQ(corner.x, 79);
    EXPECT_EQ(corner.y, 18);

    item.centered = true;
    item.width = 5; // half of an odd size truncates: 2
    item.height = 7;
    item.x = 0.0f;
    item.y = 0.0f;
    const SpriteCommand& centred = DrawOnce();
    EXPECT_EQ(centred.x, 78);
    EXPECT_EQ(centred.y, 13);
}

TEST_F(SpriteDraw, CopiesSourceRectangleAndTexture)
{
    SDL_Surface* picture = Own(3, SDL_CreateRGBSurface(0, 1, 1, 32, 0, 0, 0, 0));
    item.texture = 3;
    item.u = 112;
    item.v = 32;
    const SpriteCommand& cmd = DrawOnce();
    EXPECT_EQ(cmd.texture, picture);
    EXPECT_EQ(cmd.u, 112);
    EXPECT_EQ(cmd.v, 32);

    // A slot outside the bank gives a command that is never drawn.
    item.texture = 99;
    EXPECT_EQ(DrawOnce().texture, nullptr);
    item.texture = -1;
    EXPECT_EQ(DrawOnce().texture, nullptr);
}

TEST_F(SpriteDraw, AlphaKeepsLowByteOfTruncatedProduct)
{
    const struct
    {
        float alpha;
        uint8_t expected;
    } cases[] = {{1.0f, 255}, {0.0f, 0}, {0.5f, 127}, {0.3f, 76}};
    for (const auto& c : cases)
    {
        item.alpha = c.alpha;
        EXPECT_EQ(DrawOnce().alpha, c.expected) << "alpha " << c.alpha;
    }
}

TEST_F(SpriteDraw, AngleBecomesDegrees)
{
    const struct
    {
        float angle;
        float degrees;
    } cases[] = {{0.0f, 0.0f}, {AngleDown, 90.0f}, {AngleUp, 270.0f}, {1000.0f, 5.4931640625f}};
    for (const auto& c : cases)
    {
        item.angle = c.angle;
        EXPECT_EQ(DrawOnce().angle, c.degrees) << "angle " << c.angle;
    }
}
