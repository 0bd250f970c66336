// Checks of what a sprite shows, stated against the sprite sheet's named
// rectangles rather than against numbers copied from them.
#pragma once

#include "objects/SpriteItem.h"
#include "objects/SpriteSheet.h"

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
