// The status panel right of the play field: score, high score, graze count,
// stage, and the game-over banner over the field. Values come in through the
// setters; Update lays the sprites out from them and Draw emits them.
#pragma once

#include "objects/SpriteItem.h"

#include <cstdint>

struct RenderContext;

class PanelManage
{
public:
    static constexpr int ItemCount = 50;

    // Item indices; the items in between hold the digits of each value.
    static constexpr int BackgroundItem = 0;
    static constexpr int ScoreCaptionItem = 1;
    static constexpr int ScoreDigitsItem = 2; // 8 items, rightmost digit first
    static constexpr int HiScoreCaptionItem = 10;
    static constexpr int HiScoreDigitsItem = 11; // 8 items, rightmost digit first
    static constexpr int GrazeCaptionItem = 20;
    static constexpr int GrazeDigitsItem = 21; // up to 6 items, leftmost digit first
    static constexpr int StageCaptionItem = 30;
    static constexpr int StageDigitsItem = 31; // up to 6 items, leftmost digit first
    static constexpr int BannerItem = 38;

    PanelManage();
    virtual ~PanelManage() = default;

    PanelManage(const PanelManage&) = delete;
    PanelManage& operator=(const PanelManage&) = delete;

    void Initialize(RenderContext* context);
    void SetScore(int32_t value);
    void SetHiScore(int32_t value);
    void SetGraze(int32_t value);
    void SetStage(int32_t value);
    void SetGameOver(bool value);

    // Lays every item out afresh from the current values; draws nothing. Always true.
    bool Update();
    // Items 0..49 in index order.
    void Draw();

    // count digits of value with leading zeros; item `first` holds the rightmost
    // digit, placed at x + (count - 1) * 16. Positions in field units.
    void SetZeroPaddedNumber(int32_t value, int32_t count, int32_t first, int32_t x, int32_t y);
    // Up to count digits without leading zeros, starting at x; the items of the
    // count that are not needed are hidden, so no stale digit remains.
    void SetLeftAlignedNumber(int32_t value, int32_t count, int32_t first, int32_t x, int32_t y);

    RenderContext* renderContext;
    SpriteItem sprites[ItemCount];
    int32_t score;
    int32_t hiScore;
    int32_t graze;
    int32_t stage;
    bool gameOver;

private:
    void LayOutItem(int index, int32_t x, int32_t y, const SheetRect& picture, bool visible);
    void LayOutDigit(int index, int digit, int32_t x, int32_t y);
};
