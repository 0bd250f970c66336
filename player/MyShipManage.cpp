#include "player/MyShipManage.h"

#include "platform/Buttons.h"

namespace
{
constexpr float BottomEdge = 472.0f; // field units; the ship's height is taken off it
} // namespace

void MyShipManage::Reset()
{
    ShowPicture(sheet::Ship, true);
    SetHitRadius(1.0f);
    SetGrazeRadius(4.0f);
    hitEnabled = true;
    grazeEnabled = true;
    x = StartX;
    // Half the picture's height in pixels comes straight off the field-unit edge.
    y = BottomEdge - static_cast<float>(height / 2);
}

bool MyShipManage::Move(uint32_t held, uint32_t /*pressed*/)
{
    const bool left = (held & BUTTON_LEFT) != 0;
    const bool right = (held & BUTTON_RIGHT) != 0;
    if (left && right)
    {
        return true;
    }
    // The limit is tested before the step, so x stays on the 4-unit grid.
    if (left)
    {
        if (x > LeftLimit)
        {
            x -= Step;
        }
    }
    else if (right)
    {
        if (x < RightLimit)
        {
            x += Step;
        }
    }
    return true;
}
