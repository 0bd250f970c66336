// Checks of what a sprite shows, stated against the sprite sheet's named
// rectangles rather than against numbers copied from them.
#pragma once

#include "objects/SpriteItem.h"
#include "objects/SpriteSheet.h"
#include "platform/Render.h"

#include <gtest/gtest.h>
#include <ostream>
#include <sstream>

inline void PrintTo(const SheetRect& r, std::ostream* out)
{
    *out << "{u " << r.u << ", v " << r.v << ", " << r.width << " x " << r.height << "}";
}

// The rectangle of the sheet the item takes its picture from.
inline SheetRect PictureOf(const SpriteItem& item)
{
    return {item.u, item.v, item.width, item.height};
}

// The item shows picture plainly (opaque, unscaled, unturned), in play and
// visible, centred on its position or not as asked.
inline ::testing::AssertionResult ShowsPlainly(const SpriteItem& item, const SheetRect& picture,
                                               bool centered)
{
    std::ostringstream faults;
    if (!(PictureOf(item) == picture))
    {
        faults << "shows ";
        PrintTo(PictureOf(item), &faults);
        faults << " instead of ";
        PrintTo(picture, &faults);
        faults << "; ";
    }
    if (item.alpha != 1.0f || item.scale != 1.0f || item.angle != 0.0f)
    {
        faults << "alpha " << item.alpha << ", scale " << item.scale << ", angle " << item.angle
               << "; ";
    }
    if (item.centered != centered)
    {
        faults << (centered ? "not centred; " : "centred; ");
    }
    if (!item.active || !item.visible)
    {
        faults << "active " << item.active << ", visible " << item.visible << "; ";
    }
    if (faults.str().empty())
    {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << faults.str();
}

// The command is in use and draws the w x h rectangle at (u, v) of texture
// with its top-left corner at screen (x, y): unscaled, unturned, opaque.
inline ::testing::AssertionResult IsPlainSprite(const SpriteCommand& command,
                                                const SDL_Surface* texture, int x, int y, int w,
                                                int h, int u, int v)
{
    std::ostringstream faults;
    if (command.inUse != 1 || command.texture != texture)
    {
        faults << "inUse " << command.inUse << ", another texture or none; ";
    }
    if (command.x != x || command.y != y || command.width != w || command.height != h ||
        command.u != u || command.v != v)
    {
        faults << "at (" << command.x << ", " << command.y << "), " << command.width << " x "
               << command.height << " from (" << command.u << ", " << command.v << "); ";
    }
    if (command.scaleX != 1.0f || command.scaleY != 1.0f || command.angle != 0.0f ||
        command.alpha != 255)
    {
        faults << "scale " << command.scaleX << " x " << command.scaleY << ", angle "
               << command.angle << ", alpha " << command.alpha << "; ";
    }
    if (faults.str().empty())
    {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << faults.str();
}
