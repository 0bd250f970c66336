#include "platform/windows/WindowsWindow.h"

#include <algorithm>
#include <windows.h>

namespace
{

int chosenScale = MinWindowScale;

} // namespace

int WindowScale()
{
    return chosenScale;
}

void SetWindowScale(int scale)
{
    chosenScale = std::clamp(scale, MinWindowScale, MaxWindowScale);
}

int FittingWindowScale(int width, int height)
{
    RECT area = {};
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0) == 0)
    {
        return MinWindowScale;
    }
    // The frame and caption SDL gives a window that cannot be resized.
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE, 0);
    const long across = (area.right - area.left) - (frame.right - frame.left);
    const long down = (area.bottom - area.top) - (frame.bottom - frame.top);
    const long fit = std::min(across / width, down / height);
    return static_cast<int>(std::clamp<long>(fit, MinWindowScale, MaxWindowScale));
}
