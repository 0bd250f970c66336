#include "objects/SpriteItem.h"

#include "platform/Render.h"

SpriteItem::SpriteItem()
    : x(0.0f), y(0.0f), width(0), height(0), alpha(1.0f), scale(1.0f), u(0), v(0), angle(0.0f),
      centered(false), active(false), visible(false), texture(0), renderContext(nullptr)
{
}

SpriteItem::~SpriteItem() = default;

void SpriteItem::SetRenderContext(RenderContext* context)
{
    renderContext = context;
}

void SpriteItem::SetPicture(const SheetRect& picture)
{
    u = picture.u;
    v = picture.v;
    width = picture.width;
    height = picture.height;
}

void SpriteItem::ShowPicture(const SheetRect& picture, bool centeredOnPosition)
{
    SetPicture(picture);
    alpha = 1.0f;
    scale = 1.0f;
    angle = 0.0f;
    centered = centeredOnPosition;
    active = true;
    visible = true;
}

bool SpriteItem::Draw()
{
    if (!visible || renderContext == nullptr)
    {
        return true;
    }
    SpriteCommand* cmd = NextSpriteCommand(renderContext);
    // A slot outside the bank has no texture: the command is taken but never drawn.
    SDL_Surface* tex = nullptr;
    if (texture >= 0 && texture < TextureSlotCount)
    {
        tex = GetTexture(renderContext, texture);
    }
    cmd->inUse = 1;
    cmd->texture = tex;

    // Field units to screen pixels: truncate, halve toward zero, shift by the
    // field's origin. Centring uses the unscaled size; the renderer scales and
    // turns about the centre of the unscaled rectangle.
    const int32_t px = static_cast<int32_t>(x);
    const int32_t py = static_cast<int32_t>(y);
    cmd->x = px / 2 + FieldScreenX;
    cmd->y = py / 2 + FieldScreenY;
    if (centered)
    {
        cmd->x -= width / 2;
        cmd->y -= height / 2;
    }
    cmd->width = width;
    cmd->height = height;
    cmd->u = u;
    cmd->v = v;
    const int32_t opacity = static_cast<int32_t>(static_cast<double>(alpha) * 255.0);
    cmd->alpha = static_cast<uint8_t>(opacity & 0xFF);
    cmd->scaleX = scale;
    cmd->scaleY = scale;
    cmd->angle = static_cast<float>(static_cast<double>(angle) * 360.0 / 65536.0);
    return true;
}

void NewSprites(std::span<SpriteItem*> sprites)
{
    for (SpriteItem*& sprite : sprites)
    {
        sprite = new SpriteItem();
    }
}

void DeleteSprites(std::span<SpriteItem*> sprites)
{
    for (SpriteItem*& sprite : sprites)
    {
        delete sprite;
        sprite = nullptr;
    }
}

void SetSpritesContext(std::span<SpriteItem* const> sprites, RenderContext* context)
{
    for (SpriteItem* sprite : sprites)
    {
        sprite->SetRenderContext(context);
    }
}
