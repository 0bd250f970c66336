#include "platform/Input.h"

#include "platform/Port.h"

InputState gInputState = {};

namespace
{

constexpr int JoyButtonCount = 8;
constexpr uint32_t FirstJoyButtonBit = BUTTON_A; // button k sets BUTTON_A << k

// Button bit of a key on pad 0; 0 for keys that are not buttons.
uint32_t KeyButton(SDLKey key)
{
    switch (key)
    {
    case SDLK_UP:
        return BUTTON_UP;
    case SDLK_DOWN:
        return BUTTON_DOWN;
    case SDLK_LEFT:
        return BUTTON_LEFT;
    case SDLK_RIGHT:
        return BUTTON_RIGHT;
    case SDLK_z:
    case SDLK_SPACE:
        return BUTTON_A;
    case SDLK_x:
        return BUTTON_B;
    case SDLK_c:
        return BUTTON_C;
    case SDLK_v:
        return BUTTON_D;
    default:
        return 0;
    }
}

// Pad of a joystick button event, or -1 when the event is to be ignored.
int JoyButtonPad(const SDL_JoyButtonEvent& button, Uint8 wantedState)
{
    if (button.which >= PadCount || button.button >= JoyButtonCount || button.state != wantedState)
    {
        return -1;
    }
    return button.which;
}

// Where pads appear late (PortPadsAppearLate), pads without a joystick look
// for one again now and then. SDL's count of joysticks may take in empty
// places: only an open that succeeds counts.
constexpr int JoystickRetryUpdates = 30;
int gUpdatesSinceJoystickLook = 0;

void OpenMissingJoysticks()
{
    if (++gUpdatesSinceJoystickLook < JoystickRetryUpdates)
    {
        return;
    }
    gUpdatesSinceJoystickLook = 0;
    for (int pad = 0; pad < PadCount; ++pad)
    {
        if (gInputState.joysticks[pad] == nullptr)
        {
            gInputState.joysticks[pad] = SDL_JoystickOpen(pad);
        }
    }
}

} // namespace

void InitInput()
{
    for (int pad = 0; pad < PadCount; ++pad)
    {
        gInputState.joysticks[pad] = nullptr;
        gInputState.buttons[pad] = 0;
        gInputState.axisButtons[pad] = 0;
    }
    const int present = SDL_NumJoysticks();
    for (int i = 0; i < present && i < PadCount; ++i)
    {
        gInputState.joysticks[i] = SDL_JoystickOpen(i);
    }
}

void CloseInput()
{
    for (SDL_Joystick*& joystick : gInputState.joysticks)
    {
        if (joystick != nullptr)
        {
            SDL_JoystickClose(joystick);
            joystick = nullptr;
        }
    }
}

void UpdateInput()
{
    gInputState.quitRequested = 0;
    for (int pad = 0; pad < PadCount; ++pad)
    {
        gInputState.prevButtons[pad] = gInputState.buttons[pad];
        gInputState.prevAxisButtons[pad] = gInputState.axisButtons[pad];
    }
    if (PortPadsAppearLate())
    {
        OpenMissingJoysticks();
    }
    SDL_Event event;
    while (SDL_PollEvent(&event))
    {
        switch (event.type)
        {
        case SDL_KEYDOWN:
            OnKeyDown(event);
            break;
        case SDL_KEYUP:
            OnKeyUp(event);
            break;
        case SDL_JOYAXISMOTION:
            OnJoyAxis(event);
            break;
        case SDL_JOYBUTTONDOWN:
            OnJoyButtonDown(event);
            break;
        case SDL_JOYBUTTONUP:
            OnJoyButtonUp(event);
            break;
        case SDL_QUIT:
            gInputState.quitRequested = 1;
            break;
        default:
            break;
        }
    }
}

int IsQuitRequested()
{
    return gInputState.quitRequested;
}

int PushKeyEvent(SDLKey key, bool down)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.type = event.type;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    return SDL_PushEvent(&event);
}

uint32_t GetPadHeld(int pad)
{
    if (pad < 0 || pad >= PadCount)
    {
        return 0;
    }
    return gInputState.buttons[pad] | gInputState.axisButtons[pad];
}

uint32_t GetPadPressed(int pad)
{
    if (pad < 0 || pad >= PadCount)
    {
        return 0;
    }
    return (gInputState.buttons[pad] & ~gInputState.prevButtons[pad]) |
           (gInputState.axisButtons[pad] & ~gInputState.prevAxisButtons[pad]);
}

void OnKeyDown(const SDL_Event& event)
{
    const SDLKey key = event.key.keysym.sym;
    if (key == SDLK_q || key == SDLK_ESCAPE)
    {
        gInputState.quitRequested = 1;
        return;
    }
    gInputState.buttons[0] |= KeyButton(key);
}

void OnKeyUp(const SDL_Event& event)
{
    gInputState.buttons[0] &= ~KeyButton(event.key.keysym.sym);
}

void OnJoyAxis(const SDL_Event& event)
{
    const SDL_JoyAxisEvent& motion = event.jaxis;
    if (motion.which >= PadCount)
    {
        return;
    }
    uint32_t& bits = gInputState.axisButtons[motion.which];
    const int value = motion.value;
    if (motion.axis == 0)
    {
        bits &= ~(BUTTON_LEFT | BUTTON_RIGHT);
        if (value < -JoyAxisDeadZone)
        {
            bits |= BUTTON_LEFT;
        }
        if (value > JoyAxisDeadZone)
        {
            bits |= BUTTON_RIGHT;
        }
    }
    else if (motion.axis == 1)
    {
        bits &= ~(BUTTON_UP | BUTTON_DOWN);
        if (value < -JoyAxisDeadZone)
        {
            bits |= BUTTON_UP;
        }
        if (value > JoyAxisDeadZone)
        {
            bits |= BUTTON_DOWN;
        }
    }
}

void OnJoyButtonDown(const SDL_Event& event)
{
    const int pad = JoyButtonPad(event.jbutton, SDL_PRESSED);
    if (pad >= 0)
    {
        gInputState.buttons[pad] |= FirstJoyButtonBit << event.jbutton.button;
    }
}

void OnJoyButtonUp(const SDL_Event& event)
{
    const int pad = JoyButtonPad(event.jbutton, SDL_RELEASED);
    if (pad >= 0)
    {
        gInputState.buttons[pad] &= ~(FirstJoyButtonBit << event.jbutton.button);
    }
}
