// The whole program on SDL's dummy drivers, with a stand-in game session that
// records what it finds when it is made, run and destroyed.
#include "platform/FrameLoop.h"
#include "platform/Input.h"
#include "platform/Sound.h"
#include "tests/support/Files.h"
#include "tests/support/Sdl.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace skyreel_test;

namespace
{

struct SessionProbe
{
    int creates = 0;
    int frames = 0;
    int destroys = 0;
    RenderContext* context = nullptr;
    std::string caption;
    Uint32 subsystems = 0;
    int32_t soundEnabled = 0;
    int randomAtCreate = 0;
    void* destroyed = nullptr;
    bool screenAtDestroy = false;
    int quitOnFrame = 3;
    bool quitMissed = false; // still running QuitWithin updates after the quit: ended by the test
};

constexpr int QuitWithin = 30; // updates the program may take to see a quit

SessionProbe probe;

void* CreateProbe(RenderContext* context)
{
    ++probe.creates;
    probe.context = context;
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    probe.caption = title != nullptr ? title : "";
    probe.subsystems = SDL_WasInit(SDL_INIT_EVERYTHING);
    probe.soundEnabled = gSoundTable.enabled;
    probe.randomAtCreate = std::rand();
    return &probe;
}

bool RunProbe(void* session)
{
    EXPECT_EQ(session, &probe);
    ++probe.frames;
    if (probe.frames == probe.quitOnFrame)
    {
        SDL_Event quit = {};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit); // seen by the next update's input drain
    }
    else if (probe.frames == probe.quitOnFrame + QuitWithin)
    {
        // The quit went unseen: the run is ended as a quit would end it.
        probe.quitMissed = true;
        gInputState.quitRequested = 1;
    }
    else if (probe.frames > probe.quitOnFrame + 2 * QuitWithin)
    {
        std::fprintf(stderr,
                     "gave up waiting for the program to quit: still running at update %d "
                     "though told to quit twice\n",
                     probe.frames);
        std::_Exit(1);
    }
    return true;
}

void DestroyProbe(void* session)
{
    ++probe.destroys;
    probe.destroyed = session;
    probe.screenAtDestroy = SDL_GetVideoSurface() != nullptr;
}

const GameSessionHooks ProbeHooks = {CreateProbe, RunProbe, DestroyProbe};

} // namespace

TEST(Program, StartsUpRunsUntilQuitAndShutsDown)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("data"));
    ASSERT_TRUE(WriteText(dir.file("data/sounddat.lst"), "# no sounds\n"));
    ScopedChdir here(dir.path());
    std::srand(1);
    const int firstDraw = std::rand();
    std::srand(12345);
    probe = SessionProbe{};

    EXPECT_EQ(RunProgram(ProbeHooks), 0);
    EXPECT_FALSE(probe.quitMissed)
        << "gave up waiting for the program to see the quit pushed in "
        << "update " << probe.quitOnFrame << ": still running at update " << probe.frames;

    // Made after SDL, input, sound, the context and its caption, with the
    // random generator freshly seeded with 1.
    EXPECT_EQ(probe.creates, 1);
    ASSERT_NE(probe.context, nullptr);
    EXPECT_EQ(probe.caption, "Skyreel");
    EXPECT_EQ(probe.subsystems & 0x231u, 0x231u);
    EXPECT_EQ(probe.soundEnabled, 1);
    EXPECT_EQ(probe.randomAtCreate, firstDraw);
    // The quit pushed during update 3 is seen in update 4, the last one.
    EXPECT_EQ(probe.frames, 4);
    // Destroyed once, before the screen went away; everything is down after.
    EXPECT_EQ(probe.destroys, 1);
    EXPECT_EQ(probe.destroyed, &probe);
    EXPECT_TRUE(probe.screenAtDestroy);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
    EXPECT_EQ(gSoundTable.enabled, 0);
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(gInputState.joysticks[0], nullptr);
}

TEST(Program, SdlThatCannotStartEndsWithAMessageAndStatusMinusOne)
{
    probe = SessionProbe{};
    int status = 0;
    std::string output;
    std::string errors;
    std::string reason;
    {
        ScopedEnv driver("SDL_VIDEODRIVER", "no-such-driver");
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        status = RunProgram(ProbeHooks);
        errors = ::testing::internal::GetCapturedStderr();
        output = ::testing::internal::GetCapturedStdout();
        reason = SDL_GetError();
    }
    SDL_Quit();
    EXPECT_EQ(status, -1);
    EXPECT_EQ(output, "SDL initialize error.\n");
    ASSERT_FALSE(reason.empty());
    EXPECT_EQ(errors, "skyreel: " + reason + "\n");
    EXPECT_EQ(probe.creates, 0);
    EXPECT_EQ(probe.destroys, 0);
}
