// Input on the desktop: SDL finds every joystick at start-up.
#include "platform/Port.h"

bool PortPadsAppearLate()
{
    return false;
}
