// Input in the browser.
#include "platform/Port.h"

// A browser shows a gamepad to the page only once it has been used there.
bool PortPadsAppearLate()
{
    return true;
}
