#include "presentation/PanelManage.h"

namespace
{
constexpr int MaxDigits = 10;        // an int32 has at most 10 decimal digits
constexpr int32_t DigitSpacing = 16; // field units between successive digits
constexpr int32_t DigitWidth = 9;    // pixels
constexpr int32_t DigitHeight = 8;
constexpr int32_t DigitStripU = 176; // u of the glyph "0"; glyph d is 9 * d further

// Negative values are never passed by the game; they are shown as 0 rather
// than as glyphs from outside the digit strip.
int32_t NonNegative(int32_t value)
{
    return value < 0 ? 0 : value;
}
} // namespace

PanelManage::PanelManage()
    : renderContext(nullptr), score(0), hiScore(0), graze(0), stage(0), gameOver(false)
{
}

void PanelManage::Initialize(RenderContext* context)
{
    renderContext = context;
    for (SpriteItem& item : sprites)
    {
        item.SetRenderContext(context);
    }
}

void PanelManage::SetScore(int32_t value)
{
    score = value;
}

void PanelManage::SetHiScore(int32_t value)
{
    hiScore = value;
}

void PanelManage::SetGraze(int32_t value)
{
    graze = value;
}

void PanelManage::SetStage(int32_t value)
{
    stage = value;
}

void PanelManage::SetGameOver(bool value)
{
    gameOver = value;
}

bool PanelManage::Update()
{
    LayOutItem(BackgroundItem, 448, 0, 96, 240, 416, 0, true);
    LayOutItem(ScoreCaptionItem, 480, 64, 32, 8, 176, 8, true);
    LayOutItem(HiScoreCaptionItem, 480, 124, 40, 8, 176, 16, true);
    LayOutItem(GrazeCaptionItem, 480, 184, 32, 8, 176, 24, true);
    LayOutItem(StageCaptionItem, 480, 244, 32, 8, 176, 32, true);
    SetZeroPaddedNumber(score, 8, ScoreDigitsItem, 480, 82);
    SetZeroPaddedNumber(hiScore, 8, HiScoreDigitsItem, 480, 142);
    SetLeftAlignedNumber(graze, 6, GrazeDigitsItem, 480, 202);
    SetLeftAlignedNumber(stage, 6, StageDigitsItem, 480, 262);
    LayOutItem(BannerItem, 224, 240, 100, 16, 176, 42, gameOver);
    return true;
}

void PanelManage::Draw()
{
    for (SpriteItem& item : sprites)
    {
        item.Draw();
    }
}

void PanelManage::SetZeroPaddedNumber(int32_t value, int32_t count, int32_t first, int32_t x,
                                      int32_t y)
{
    int32_t rest = NonNegative(value);
    for (int32_t k = 0; k < count; ++k)
    {
        const int digit = rest % 10;
        rest /= 10;
        LayOutDigit(first + k, digit, x + (count - 1 - k) * DigitSpacing, y);
    }
}

void PanelManage::SetLeftAlignedNumber(int32_t value, int32_t count, int32_t first, int32_t x,
                                       int32_t y)
{
    if (count <= 0)
    {
        return;
    }
    // Beyond 10 digits every further digit of an int32 is a leading zero.
    const int32_t considered = count < MaxDigits ? count : MaxDigits;
    int digits[MaxDigits] = {};
    int32_t rest = NonNegative(value);
    for (int32_t k = 0; k < count; ++k)
    {
        if (k < considered)
        {
            digits[considered - 1 - k] = rest % 10;
            rest /= 10;
        }
        const int32_t index = first + k;
        if (index >= 0 && index < ItemCount)
        {
            sprites[index].active = false;
            sprites[index].visible = false;
        }
    }

    int32_t item = first;
    int32_t px = x;
    bool started = false;
    for (int32_t k = 0; k < considered; ++k)
    {
        const bool last = k == considered - 1;
        if (digits[k] == 0 && !started && !last)
        {
            continue;
        }
        started = true;
        LayOutDigit(item, digits[k], px, y);
        ++item;
        px += DigitSpacing;
    }
}

void PanelManage::LayOutItem(int index, int32_t x, int32_t y, int32_t width, int32_t height,
                             int32_t u, int32_t v, bool visible)
{
    // Callers may pass any first item and count; items outside the panel's
    // fifty are skipped instead of written past the array.
    if (index < 0 || index >= ItemCount)
    {
        return;
    }
    SpriteItem& item = sprites[index];
    item.x = static_cast<float>(x);
    item.y = static_cast<float>(y);
    item.width = width;
    item.height = height;
    item.u = u;
    item.v = v;
    item.alpha = 1.0f;
    item.angle = 0.0f;
    item.centered = false;
    item.active = true;
    item.visible = visible;
}

void PanelManage::LayOutDigit(int index, int digit, int32_t x, int32_t y)
{
    LayOutItem(index, x, y, DigitWidth, DigitHeight, DigitStripU + DigitWidth * digit, 0, true);
}
