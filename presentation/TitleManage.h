// The title screen: a backdrop, a title strip sliding down, a large picture
// sliding in from the right, then a caption and a prompt that blinks until the
// confirm button; after a fast blink the title reports that it has finished.
#pragma once

#include <cstdint>
#include <tuple>

struct RenderContext;
class SpriteItem;

class TitleManage
{
public:
    static constexpr int SpriteCount = 5;

    // Values of `state`.
    static constexpr int32_t StateStart = 0;
    static constexpr int32_t StateSlideIn = 1;
    static constexpr int32_t StateSettle = 2;
    static constexpr int32_t StateWait = 3;
    static constexpr int32_t StateFastBlink = 4;
    static constexpr int32_t StateFinished = 5;

    TitleManage();
    virtual ~TitleManage();

    TitleManage(const TitleManage&) = delete;
    TitleManage& operator=(const TitleManage&) = delete;

    void Initialize(RenderContext* context);
    // Back to the start of the title with every picture at its starting place.
    void Reset();
    // One step; `pressed` is the newly pressed button word, of which only
    // BUTTON_A counts. False once the title has finished, until the next Reset.
    bool Update(uint32_t pressed);
    // True only in the update in which the confirm button ended the waiting.
    bool IsConfirmPressed() const;
    // Sprites 0..4 in order. Always true.
    bool Draw();

    RenderContext* renderContext;
    SpriteItem* sprites[SpriteCount]; // owned
    int32_t state;
    int32_t timer; // updates counted in the current state
    bool confirmPressed;

    // Every field above, in declaration order (those of the base classes
    // not included): whatever walks the state field by field uses this
    // list, and the state hash checks the class's size against it.
    static constexpr auto Fields()
    {
        return std::tuple{&TitleManage::renderContext, &TitleManage::sprites, &TitleManage::state,
                          &TitleManage::timer, &TitleManage::confirmPressed};
    }
};
