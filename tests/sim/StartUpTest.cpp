// The simulator replays the program, so it must start exactly as the program
// does: the same platform state and the same random stream once the game
// session is made.
#include "Session.h"
#include "game/GameSession.h"
#include "platform/FrameLoop.h"
#include "platform/Sound.h"

#include <SDL/SDL.h>
#include <array>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace
{

struct StartState
{
    std::array<int, 8> draws{}; // rand() right after the session was made
    Uint32 subsystems = 0;
    int32_t soundEnabled = 0;
    std::string caption;
};

StartState Capture()
{
    StartState state;
    state.subsystems = SDL_WasInit(SDL_INIT_EVERYTHING);
    state.soundEnabled = gSoundTable.enabled;
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    state.caption = title != nullptr ? title : "";
    for (int& draw : state.draws)
    {
        draw = std::rand();
    }
    return state;
}

StartState gProgramStart;

void* CreateAndCapture(RenderContext* context)
{
    GameSession* session = CreateGameSession(context);
    gProgramStart = Capture();
    return session;
}

// The first update asks to quit; the game itself never runs.
bool AskToQuit(void* /*session*/)
{
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    return true;
}

void Destroy(void* session)
{
    DestroyGameSession(static_cast<GameSession*>(session));
}

} // namespace

TEST(StartUp, TheSimulatorStartsAsTheProgramDoes)
{
    std::srand(777);
    gProgramStart = StartState{};
    ASSERT_EQ(RunProgram({CreateAndCapture, AskToQuit, Destroy}), 0);
    ASSERT_NE(gProgramStart.subsystems, 0u) << "the program never made its session";

    std::srand(777);
    sim::Session session;
    std::string error;
    ASSERT_TRUE(session.Open(&error)) << error;
    const StartState simulatorStart = Capture();
    session.Close();

    EXPECT_EQ(simulatorStart.draws, gProgramStart.draws);
    EXPECT_EQ(simulatorStart.subsystems, gProgramStart.subsystems);
    EXPECT_EQ(simulatorStart.soundEnabled, gProgramStart.soundEnabled);
    EXPECT_EQ(simulatorStart.caption, gProgramStart.caption);
}
