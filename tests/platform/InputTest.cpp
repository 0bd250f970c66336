// Input: key and joystick events pushed through SDL's queue into the pads.
#include "platform/Input.h"

#include "tests/support/Sdl.h"

using namespace skyreel_test;

namespace
{

class InputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sdl.ok());
        gInputState = {};
        InitInput();
    }
    void TearDown() override { CloseInput(); }

    static void Key(SDLKey key, bool down) { ASSERT_EQ(PushKeyEvent(key, down), 0); }
    static void Axis(int joystick, int axis, int value)
    {
        SDL_Event event = {};
        event.type = SDL_JOYAXISMOTION;
        event.jaxis.type = SDL_JOYAXISMOTION;
        event.jaxis.which = static_cast<Uint8>(joystick);
        event.jaxis.axis = static_cast<Uint8>(axis);
        event.jaxis.value = static_cast<Sint16>(value);
        ASSERT_EQ(SDL_PushEvent(&event), 0);
    }
    static void JoyButton(int joystick, int button, bool down, Uint8 state)
    {
        SDL_Event event = {};
        event.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
        event.jbutton.type = event.type;
        event.jbutton.which = static_cast<Uint8>(joystick);
        event.jbutton.button = static_cast<Uint8>(button);
        event.jbutton.state = state;
        ASSERT_EQ(SDL_PushEvent(&event), 0);
    }
    static void JoyButton(int joystick, int button, bool down)
    {
        JoyButton(joystick, button, down, down ? SDL_PRESSED : SDL_RELEASED);
    }

    ScopedSdl sdl{SDL_INIT_VIDEO | SDL_INIT_JOYSTICK};
};

} // namespace

TEST_F(InputTest, EveryKeyDrivesItsButtonOnPadZero)
{
    const std::pair<SDLKey, uint32_t> keys[] = {
        {SDLK_UP, BUTTON_UP},       {SDLK_DOWN, BUTTON_DOWN}, {SDLK_LEFT, BUTTON_LEFT},
        {SDLK_RIGHT, BUTTON_RIGHT}, {SDLK_z, BUTTON_A},       {SDLK_SPACE, BUTTON_A},
        {SDLK_x, BUTTON_B},         {SDLK_c, BUTTON_C},       {SDLK_v, BUTTON_D},
    };
    for (const auto& [key, bit] : keys)
    {
        Key(key, true);
        UpdateInput();
        EXPECT_EQ(GetPadHeld(0), bit) << key;
        EXPECT_EQ(GetPadPressed(0), bit) << key;
        EXPECT_EQ(GetPadHeld(1), 0u);
        Key(key, false);
        UpdateInput();
        EXPECT_EQ(GetPadHeld(0), 0u) << key;
        EXPECT_EQ(GetPadPressed(0), 0u) << key;
    }
    // Other keys, modifiers included, do nothing.
    Key(SDLK_a, true);
    Key(SDLK_LSHIFT, true);
    Key(SDLK_RETURN, true);
    UpdateInput();
    EXPECT_EQ(GetPadHeld(0), 0u);
    EXPECT_EQ(IsQuitRequested(), 0);
}

TEST_F(InputTest, HeldButtonIsPressedOnlyInTheUpdateItWentDown)
{
    Key(SDLK_z, true);
    UpdateInput();
    EXPECT_EQ(GetPadPressed(0), BUTTON_A);
    for (int i = 0; i < 5; ++i)
    {
        Key(SDLK_LEFT, i == 2);
        UpdateInput();
        EXPECT_NE(GetPadHeld(0) & BUTTON_A, 0u);
        EXPECT_EQ(GetPadPressed(0) & BUTTON_A, 0u);
    }
    EXPECT_EQ(GetPadPressed(0), 0u);
}

TEST_F(InputTest, PressAndReleaseWithinOneDrainIsNeverSeen)
{
    Key(SDLK_z, true);
    Key(SDLK_z, false);
    UpdateInput();
    EXPECT_EQ(GetPadHeld(0), 0u);
    EXPECT_EQ(GetPadPressed(0), 0u);
}

TEST_F(InputTest, ReleasingAnySourceOfABitClearsIt)
{
    Key(SDLK_z, true);
    Key(SDLK_SPACE, true);
    UpdateInput();
    Key(SDLK_SPACE, false);
    UpdateInput();
    EXPECT_EQ(GetPadHeld(0), 0u);
    UpdateInput();
    EXPECT_EQ(GetPadHeld(0), 0u); // Z is still down, but only a new key-down brings it back
    Key(SDLK_z, true);
    UpdateInput();
    EXPECT_EQ(GetPadPressed(0), BUTTON_A);

    // Joystick button 0 shares the bit with the keys on pad 0.
    JoyButton(0, 0, false);
    UpdateInput();
    EXPECT_EQ(GetPadHeld(0), 0u);
}

TEST_F(InputTest, QuitIsSeenForOneUpdate)
{
    for (SDLKey key : {SDLK_ESCAPE, SDLK_q})
    {
        Key(key, true);
        UpdateInput();
        EXPECT_EQ(IsQuitRequested(), 1) << key;
        EXPECT_EQ(GetPadHeld(0), 0u);
        Key(key, false);
        UpdateInput();
        EXPECT_EQ(IsQuitRequested(), 0) << key;
    }
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 0);
    UpdateInput();
    EXPECT_EQ(IsQuitRequested(), 1);
    UpdateInput();
    EXPECT_EQ(IsQuitRequested(), 0);
}

TEST_F(InputTest, AxesGiveDirectionsBeyondTheDeadZone)
{
    struct Step
    {
        int axis, value;
        uint32_t held;
    };
    const Step steps[] = {
        {0, -20000, 0},
        {0, -20001, BUTTON_LEFT},
        {0, 20000, 0},
        {0, 20001, BUTTON_RIGHT},
        {1, -20001, BUTTON_RIGHT | BUTTON_UP},
        {1, 32767, BUTTON_RIGHT | BUTTON_DOWN},
        {1, 20000, BUTTON_RIGHT},
        {2, -32768, BUTTON_RIGHT}, // other axes are ignored
        {0, 0, 0},
    };
    for (const Step& step : steps)
    {
        Axis(0, step.axis, step.value);
        UpdateInput();
        EXPECT_EQ(GetPadHeld(0), step.held) << step.axis << " " << step.value;
    }
    Axis(1, 0, -32768);
    UpdateInput();
    EXPECT_EQ(GetPadHeld(1), BUTTON_LEFT);
    EXPECT_EQ(GetPadPressed(1), BUTTON_LEFT);
    EXPECT_EQ(GetPadHeld(0), 0u);
    Axis(2, 0, -32768); // a third joystick has no pad
    UpdateInput();
    EXPECT_EQ(GetPadPressed(1), 0u);
    EXPECT_EQ(gInputState.axisButtons[0], 0u);
}

TEST_F(InputTest, AxisAndButtonWordsAreTrackedApart)
{
    Key(SDLK_LEFT, true);
    Axis(0, 0, -30000);
    UpdateInput();
    EXPECT_EQ(GetPadHeld(0), BUTTON_LEFT);
    EXPECT_EQ(gInputState.buttons[0], BUTTON_LEFT);
    EXPECT_EQ(gInputState.axisButtons[0], BUTTON_LEFT);
    Key(SDLK_LEFT, false);
    UpdateInput();
    EXPECT_EQ(GetPadHeld(0), BUTTON_LEFT); // the stick still holds it
    Axis(0, 0, 0);
    Key(SDLK_LEFT, true);
    UpdateInput();
    EXPECT_EQ(GetPadPressed(0), BUTTON_LEFT); // new in the button word
}

TEST_F(InputTest, JoystickButtonsMapFromBitFourUpwards)
{
    for (int button = 0; button < 8; ++button)
    {
        JoyButton(1, button, true);
        UpdateInput();
        EXPECT_EQ(GetPadPressed(1), 0x10u << button) << button;
        JoyButton(1, button, false);
        UpdateInput();
        EXPECT_EQ(GetPadHeld(1), 0u) << button;
    }
    JoyButton(0, 8, true);               // no button above 7
    JoyButton(2, 0, true);               // no third pad
    JoyButton(0, 1, true, SDL_RELEASED); // a down event must say pressed
    UpdateInput();
    EXPECT_EQ(GetPadHeld(0), 0u);
    EXPECT_EQ(GetPadHeld(1), 0u);

    JoyButton(0, 1, true);
    JoyButton(0, 1, false, SDL_PRESSED); // an up event must say released
    UpdateInput();
    EXPECT_EQ(GetPadHeld(0), BUTTON_B);
}

TEST_F(InputTest, HandlersCanBeCalledDirectly)
{
    SDL_Event event = {};
    event.type = SDL_JOYBUTTONDOWN;
    event.jbutton.which = 0;
    event.jbutton.button = 3;
    event.jbutton.state = SDL_PRESSED;
    OnJoyButtonDown(event);
    EXPECT_EQ(GetPadHeld(0), BUTTON_D);
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = SDLK_x;
    OnKeyDown(event);
    EXPECT_EQ(GetPadHeld(0), BUTTON_D | BUTTON_B);
    OnKeyUp(event);
    EXPECT_EQ(GetPadHeld(0), BUTTON_D);
    event.type = SDL_JOYAXISMOTION;
    event.jaxis.which = 1;
    event.jaxis.axis = 1;
    event.jaxis.value = 25000;
    OnJoyAxis(event);
    EXPECT_EQ(GetPadHeld(1), BUTTON_DOWN);
}

TEST_F(InputTest, PadsOutsideZeroAndOneReadAsNothing)
{
    gInputState.buttons[0] = gInputState.buttons[1] = 0xFFF;
    EXPECT_EQ(GetPadHeld(2), 0u);
    EXPECT_EQ(GetPadPressed(2), 0u);
    EXPECT_EQ(GetPadHeld(-1), 0u);
    EXPECT_EQ(GetPadPressed(-1), 0u);
}

TEST_F(InputTest, InitClearsThePadsAndOpensNoMoreJoysticksThanPresent)
{
    gInputState.buttons[0] = BUTTON_A;
    gInputState.axisButtons[1] = BUTTON_UP;
    InitInput();
    EXPECT_EQ(GetPadHeld(0), 0u);
    EXPECT_EQ(GetPadHeld(1), 0u);
    for (int pad = 0; pad < 2; ++pad)
    {
        EXPECT_EQ(gInputState.joysticks[pad] != nullptr, pad < SDL_NumJoysticks()) << pad;
    }
    CloseInput();
    EXPECT_EQ(gInputState.joysticks[0], nullptr);
    EXPECT_EQ(gInputState.joysticks[1], nullptr);
}
