// SpriteItem: the base of everything drawn in the game. It holds where an
// object sits in the play field and which rectangle of which texture shows it,
// and turns that into one sprite command of the render context per frame.
#pragma once

#include "objects/SpriteSheet.h"

#include <cstdint>
#include <span>
#include <tuple>

struct RenderContext;

// The play field: 448 by 480 field units, x to the right, y downwards. Two
// field units make one screen pixel; the field's origin is screen pixel
// (FieldScreenX, FieldScreenY).
constexpr int32_t FieldWidth = 448;
constexpr int32_t FieldHeight = 480;
constexpr int32_t FieldScreenX = 80;
constexpr int32_t FieldScreenY = 16;

class SpriteItem
{
public:
    SpriteItem();
    virtual ~SpriteItem();

    // The context Draw takes its command from; borrowed, never freed.
    void SetRenderContext(RenderContext* context);

    // Takes the rectangle of picture (u, v, width, height) and nothing else.
    void SetPicture(const SheetRect& picture);
    // Shows picture plainly: opaque, at scale 1, unturned, in play and
    // visible; (x, y) is its centre when centeredOnPosition, else its top-left
    // corner. The position and the texture slot stay as they are.
    void ShowPicture(const SheetRect& picture, bool centeredOnPosition);

    // Takes one sprite command for this frame when visible; always true.
    // Without a render context nothing is taken.
    virtual bool Draw();

    float x; // field units; the centre when centered, else the top-left corner
    float y;
    int32_t width; // source rectangle in pixels, also the on-screen size at scale 1
    int32_t height;
    float alpha; // opacity 0.0 (invisible) .. 1.0 (opaque)
    float scale; // applied to both axes, about the sprite's centre
    int32_t u;   // source rectangle's top-left corner in the texture, pixels
    int32_t v;
    float angle; // rotation in AngleUnit (65536 per turn)
    bool centered;
    bool active;     // owners' bookkeeping: the object is in play
    bool visible;    // Draw produces a picture only when set
    int32_t texture; // texture slot 0..15
    RenderContext* renderContext;

    // Every field above, in declaration order (those of the base classes
    // not included): whatever walks the state field by field uses this
    // list, and the state hash checks the class's size against it.
    static constexpr auto Fields()
    {
        return std::tuple{&SpriteItem::x,       &SpriteItem::y,
                          &SpriteItem::width,   &SpriteItem::height,
                          &SpriteItem::alpha,   &SpriteItem::scale,
                          &SpriteItem::u,       &SpriteItem::v,
                          &SpriteItem::angle,   &SpriteItem::centered,
                          &SpriteItem::active,  &SpriteItem::visible,
                          &SpriteItem::texture, &SpriteItem::renderContext};
    }
};

// For owners that keep their sprites as an array of pointers: NewSprites puts
// a new SpriteItem in each place, DeleteSprites deletes each and leaves the
// places null, and SetSpritesContext gives each the context it draws into.
void NewSprites(std::span<SpriteItem*> sprites);
void DeleteSprites(std::span<SpriteItem*> sprites);
void SetSpritesContext(std::span<SpriteItem* const> sprites, RenderContext* context);
