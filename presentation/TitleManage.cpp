#include "presentation/TitleManage.h"

#include "objects/SpriteItem.h"
#include "platform/Buttons.h"

namespace
{
constexpr int32_t SlideFrames = 90;
constexpr int32_t WaitBlinkPeriod = 30; // updates per half-cycle of the waiting prompt
constexpr int32_t FastBlinkPeriod = 3;
constexpr int32_t FastBlinkFrames = 90; // the count starts one higher: 91 updates

enum Sprite
{
    Backdrop = 0,
    TitleStrip = 1,
    LargePicture = 2,
    Caption = 3,
    Prompt = 4,
};
} // namespace

TitleManage::TitleManage()
    : renderContext(nullptr), sprites{}, state(0), timer(0), confirmPressed(false)
{
    NewSprites(sprites);
}

TitleManage::~TitleManage()
{
    DeleteSprites(sprites);
}

void TitleManage::Initialize(RenderContext* context)
{
    renderContext = context;
    SetSpritesContext(sprites, context);
}

void TitleManage::Reset()
{
    struct Setting
    {
        float x, y; // field units
        bool centered;
        SheetRect picture;
        float scale;
        bool visible;
    };
    static constexpr Setting settings[SpriteCount] = {
        {320.0f, 240.0f, true, sheet::TitleBackdrop, 5.5f, true},
        {16.0f, -64.0f, false, sheet::TitleStrip, 1.0f, true},
        {640.0f, 80.0f, false, sheet::TitleLargePicture, 1.0f, true},
        {32.0f, 80.0f, false, sheet::TitleCaption, 1.0f, false},
        {64.0f, 320.0f, false, sheet::TitlePrompt, 1.0f, false},
    };
    for (int i = 0; i < SpriteCount; ++i)
    {
        const Setting& s = settings[i];
        SpriteItem& sprite = *sprites[i];
        sprite.x = s.x;
        sprite.y = s.y;
        sprite.ShowPicture(s.picture, s.centered);
        sprite.scale = s.scale;
        sprite.visible = s.visible;
    }
    state = StateStart;
    timer = 0;
}

bool TitleManage::Update(uint32_t pressed)
{
    confirmPressed = false;
    const bool confirm = (pressed & BUTTON_A) != 0;
    switch (state)
    {
    case StateStart:
        state = StateSlideIn;
        timer = SlideFrames;
        return true;

    case StateSlideIn:
    {
        // The confirm button cuts the slide short but does not count as the
        // player's confirmation; this update's positions are still set.
        if (confirm)
        {
            state = StateSettle;
        }
        const int32_t t = timer;
        timer = t - 1;
        const double td = static_cast<double>(static_cast<float>(t));
        sprites[LargePicture]->x = static_cast<float>(td * 352.0 / 90.0 + 288.0);
        sprites[TitleStrip]->y = static_cast<float>(td * 80.0 / -90.0 + 16.0);
        if (timer == 0)
        {
            state = StateSettle;
        }
        return true;
    }

    case StateSettle:
        sprites[TitleStrip]->y = 16.0f;
        sprites[LargePicture]->x = 288.0f;
        sprites[Caption]->visible = true;
        sprites[Prompt]->visible = true;
        state = StateWait;
        timer = 0;
        return true;

    case StateWait:
        if (confirm)
        {
            confirmPressed = true;
            timer = FastBlinkFrames;
            state = StateFastBlink;
        }
        timer = timer + 1;
        sprites[Prompt]->visible = (timer / WaitBlinkPeriod) % 2 == 0;
        return true;

    case StateFastBlink:
    {
        const int32_t t = timer;
        sprites[Prompt]->visible = (t / FastBlinkPeriod) % 2 == 0;
        timer = t - 1;
        if (timer == 0)
        {
            state = StateFinished;
            return false;
        }
        return true;
    }

    case StateFinished:
        return false;

    default:
        return true;
    }
}

bool TitleManage::IsConfirmPressed() const
{
    return confirmPressed;
}

bool TitleManage::Draw()
{
    for (SpriteItem* sprite : sprites)
    {
        sprite->Draw();
    }
    return true;
}
