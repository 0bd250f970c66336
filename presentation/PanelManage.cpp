#include "presentation/PanelManage.h"

namespace
{
constexpr int MaxDigits = 10;        // an int32 has at most 10 decimal digits
constexpr int32_t DigitSpacing = 16; // field units between successive digits
constexpr int32_t TextX = 480;       // field units: where captions and numbers start

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
    LayOutItem(BackgroundItem, FieldWidth, 0, sheet::PanelBackground, true);
    LayOutItem(ScoreCaptionItem, TextX, 64, sheet::ScoreCaption, true);
    LayOutItem(HiScoreCaptionItem, TextX, 124, sheet::HiScoreCaption, true);
    LayOutItem(GrazeCaptionItem, TextX, 184, sheet::GrazeCaption, true);
    LayOutItem(StageCaptionItem, TextX, 244, sheet::StageCaption, true);
    SetZeroPaddedNumber(score, 8, ScoreDigitsItem, TextX, 82);
    SetZeroPaddedNumber(hiScore, 8, HiScoreDigitsItem, TextX, 142);
    SetLeftAlignedNumber(graze, 6, GrazeDigitsItem, TextX, 202);
    SetLeftAlignedNumber(stage, 6, StageDigitsItem, TextX, 262);
    LayOutItem(BannerItem, 224, 240, sheet::GameOverBanner, gameOver);
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

void PanelManage::LayOutItem(int index, int32_t x, int32_t y, const SheetRect& picture,
                             bool visible)
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
    item.ShowPicture(picture, false);
    item.visible = visible;
}

void PanelManage::LayOutDigit(int index, int digit, int32_t x, int32_t y)
{
    LayOutItem(index, x, y, StripFrame(sheet::Digit, digit), true);
}
