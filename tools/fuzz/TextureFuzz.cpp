// Fuzz target: arbitrary bytes as an image file loaded into a texture slot the
// way the game loads its sheet, then sprite commands with arbitrary
// rectangles, scales, angles and alpha drawn through the plain path, the
// transformed path and the whole list, on a dummy-driver screen.
//
// Input: a flags byte (bit 0: load once more, converted to the screen's
// format), a slot byte, a command count byte, that many command records (see
// ReadCommand), then the image file's bytes.
#include "FuzzSupport.h"
#include "platform/Render.h"

#include <SDL/SDL.h>

using namespace skyreel_fuzz;

namespace
{

constexpr int MaxCommands = 8;

// x, y, width, height, u, v: six Fields read in this order.
template <typename Field> void ReadRectangle(FuzzReader& in, SpriteCommand* command)
{
    command->x = in.Take<Field>();
    command->y = in.Take<Field>();
    command->width = in.Take<Field>();
    command->height = in.Take<Field>();
    command->u = in.Take<Field>();
    command->v = in.Take<Field>();
}

// A command record: a mode byte, then six int32 (x, y, width, height, u, v),
// three floats (scaleX, scaleY, angle), alpha and inUse bytes. Mode bit 0
// takes the floats as raw bits (NaN, infinities, denormals, huge values);
// otherwise they are read as small fixed-point numbers in the range the game
// uses. Mode bit 1 narrows the rectangle to 16-bit values, where the
// interesting clipping happens.
void ReadCommand(FuzzReader& in, SpriteCommand* command)
{
    const uint8_t mode = in.Take<uint8_t>();
    if ((mode & 2) != 0)
    {
        ReadRectangle<int16_t>(in, command);
    }
    else
    {
        ReadRectangle<int32_t>(in, command);
    }
    if ((mode & 1) != 0)
    {
        command->scaleX = in.Take<float>();
        command->scaleY = in.Take<float>();
        command->angle = in.Take<float>();
    }
    else
    {
        // Scales in 1/64 steps up to 16, angles in 1/8 degree steps over
        // a little more than a turn either way.
        command->scaleX = static_cast<float>(in.Take<uint16_t>() % 1025) / 64.0f;
        command->scaleY = static_cast<float>(in.Take<uint16_t>() % 1025) / 64.0f;
        command->angle = static_cast<float>(in.Take<int16_t>() % 3200) / 8.0f;
    }
    command->alpha = in.Take<uint8_t>();
    const uint8_t inUse = in.Take<uint8_t>();
    command->inUse = inUse < 128 ? 1 : inUse - 128;
}

// The plain path may switch the texture's blending for one blit but must give
// back the alpha value it found.
void DrawPlainChecked(RenderContext* context, SpriteCommand* command)
{
    SDL_Surface* texture = command->texture;
    const Uint8 before = texture != nullptr ? texture->format->alpha : 0;
    DrawSpritePlain(context, command);
    if (texture != nullptr && texture->format->alpha != before)
    {
        Fail("the plain path left the texture's alpha value changed");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RenderContext* context = ScreenContext();
    FuzzReader in(data, size);
    const uint8_t flags = in.Take<uint8_t>();
    // Slots -1 to 16: the two outside the bank must be refused.
    const int slot = in.Take<uint8_t>() % (TextureSlotCount + 2) - 1;
    const int count = in.Take<uint8_t>() % (MaxCommands + 1);

    ClearSpriteCommands(context);
    SpriteCommand* commands[MaxCommands] = {};
    for (int i = 0; i < count; ++i)
    {
        commands[i] = NextSpriteCommand(context);
        ReadCommand(in, commands[i]);
    }

    WriteFile("data/fuzz.png", in.rest(), in.remaining());
    LoadTextureRaw(context, slot, "data/fuzz.png");
    SDL_Surface* texture = GetTexture(context, slot);
    if ((flags & 1) != 0)
    {
        // The same picture converted to the screen's format on loading.
        LoadTexture(context, slot, "data/fuzz.png");
        texture = GetTexture(context, slot);
    }

    for (int i = 0; i < count; ++i)
    {
        commands[i]->texture = texture;
        commands[i]->textureSlot = slot;
        DrawPlainChecked(context, commands[i]);
        DrawSpriteTransformed(context, commands[i]);
    }
    DrawSpriteCommands(context);
    PresentFrame(context);

    // Slots are left holding their textures, as in the game; the next load
    // into the same slot must free the old one.
    return 0;
}
