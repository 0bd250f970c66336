// Game session and BasicSystem: what the session makes, the overlay laid over
// every frame, and the sound the facade starts and stops.
#include "game/GameSession.h"

#include "game/BasicSystem.h"
#include "game/GameDirector.h"
#include "platform/DebugConsole.h"
#include "platform/Input.h"
#include "platform/Screen.h"
#include "platform/Sound.h"
#include "tests/support/Files.h"
#include "tests/support/Sdl.h"
#include "tests/support/SpriteChecks.h"

#include <filesystem>

using namespace skyreel_test;

namespace
{

class GameSessionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sdl.ok());
        std::filesystem::create_directory(dir.file("data"));
        ASSERT_TRUE(WriteWav(dir.file("tune.wav"), 300));
        ASSERT_TRUE(WriteWav(dir.file("effect.wav"), 1000));
        ASSERT_TRUE(WriteText(dir.file("sounds.lst"), "M001 " + dir.file("tune.wav") + "\nS009 " +
                                                          dir.file("effect.wav") + "\n"));
        InitSoundWithList(dir.file("sounds.lst").c_str());
        ASSERT_EQ(gSoundTable.enabled, 1);
        context = CreateRenderContext(ScreenWidth, ScreenHeight, ScreenDepth);
        ASSERT_NE(context, nullptr);
        gInputState = {};
        gDebugConsole = {};
    }
    void TearDown() override
    {
        DestroyGameSession(session);
        DestroyRenderContext(context);
        ShutdownSound();
    }

    // Makes the session in the scratch folder, so it finds only the pictures
    // written there.
    void CreateSession()
    {
        ScopedChdir here(dir.path());
        session = CreateGameSession(context);
        ASSERT_NE(session, nullptr);
    }

    void WriteOverlay()
    {
        ASSERT_TRUE(
            WriteSolidPicture(dir.file("data/clip1.png"), ScreenWidth, ScreenHeight, 200, 40, 90));
    }

    int CountPixels(uint32_t value)
    {
        int count = 0;
        for (int y = 0; y < ScreenHeight; ++y)
        {
            for (int x = 0; x < ScreenWidth; ++x)
            {
                count += (GetPixel32(context->screen, x, y) & 0x00FFFFFFu) == value ? 1 : 0;
            }
        }
        return count;
    }

    ScopedSdl sdl{SDL_INIT_VIDEO | SDL_INIT_AUDIO};
    TempDir dir;
    RenderContext* context = nullptr;
    GameSession* session = nullptr;
};

} // namespace

TEST(GameSessionNull, NullSessionRunsNothing)
{
    EXPECT_FALSE(RunGameSessionFrame(nullptr));
    DestroyGameSession(nullptr);
}

TEST_F(GameSessionTest, SessionMakesTheSystemAndTheDirectorAndLoadsBothSlots)
{
    ASSERT_TRUE(WriteSolidPicture(dir.file("data/texture1.png"), 64, 32, 1, 2, 3));
    WriteOverlay();
    CreateSession();
    EXPECT_EQ(session->renderContext, context);
    ASSERT_NE(session->system, nullptr);
    ASSERT_NE(session->director, nullptr);
    EXPECT_EQ(session->system->renderContext, context);
    EXPECT_EQ(session->director->system, session->system);
    ASSERT_NE(GetTexture(context, 0), nullptr);
    EXPECT_EQ(GetTexture(context, 0)->w, 64);
    ASSERT_NE(GetTexture(context, 1), nullptr);
    EXPECT_EQ(GetTexture(context, 1)->w, ScreenWidth);
    // Loaded raw: kept in the format the file gave.
    EXPECT_NE(GetTexture(context, 1)->format->BitsPerPixel, 0);
    EXPECT_EQ(GetTexture(context, 2), nullptr);
}

TEST_F(GameSessionTest, OverlayIsTheLastCommandOfEveryFrameAndCoversThePicture)
{
    WriteOverlay();
    CreateSession();
    const uint32_t overlayColour = SDL_MapRGB(context->screen->format, 200, 40, 90);
    int32_t slotsBefore[SpriteCommandCount];
    for (int frame = 1; frame <= 300; ++frame)
    {
        for (int i = 0; i < SpriteCommandCount; ++i)
        {
            slotsBefore[i] = context->commands[i]->textureSlot;
        }
        ASSERT_TRUE(RunGameSessionFrame(session)) << frame;
        ASSERT_GE(context->used, 1);
        const int index = context->used - 1;
        const SpriteCommand& overlay = *context->commands[index];
        ASSERT_NE(GetTexture(context, 1), nullptr);
        ASSERT_TRUE(
            IsPlainSprite(overlay, GetTexture(context, 1), 0, 0, ScreenWidth, ScreenHeight, 0, 0))
            << frame;
        ASSERT_EQ(overlay.textureSlot, slotsBefore[index]) << frame;
        if (frame == 1 || frame % 100 == 0)
        {
            // Drawn last, the opaque overlay hides everything else.
            SDL_FillRect(context->screen, nullptr, 0);
            DrawSpriteCommands(context);
            EXPECT_EQ(CountPixels(overlayColour), ScreenWidth * ScreenHeight) << frame;
        }
    }
}

TEST_F(GameSessionTest, WithSlotOneEmptyNoOverlayIsDrawn)
{
    CreateSession();
    EXPECT_EQ(GetTexture(context, 0), nullptr);
    EXPECT_EQ(GetTexture(context, 1), nullptr);
    for (int frame = 0; frame < 3; ++frame)
    {
        ASSERT_TRUE(RunGameSessionFrame(session));
    }
    const SpriteCommand& overlay = *context->commands[context->used - 1];
    EXPECT_EQ(overlay.inUse, 1);
    EXPECT_EQ(overlay.texture, nullptr);
    SDL_FillRect(context->screen, nullptr, 0);
    DrawSpriteCommands(context);
    EXPECT_EQ(CountPixels(0), ScreenWidth * ScreenHeight);
}

TEST_F(GameSessionTest, EachFrameStartsFromAnEmptyList)
{
    CreateSession();
    for (SpriteCommand* command : context->commands)
    {
        command->inUse = 1; // left over from an earlier frame
    }
    context->used = 700;
    ASSERT_TRUE(RunGameSessionFrame(session));
    for (int i = context->used; i < SpriteCommandCount; ++i)
    {
        ASSERT_EQ(context->commands[i]->inUse, 0) << i;
    }
}

TEST_F(GameSessionTest, MakingTheSessionStopsSoundAndDestroyingItStopsTheMusic)
{
    PlayMusicLoop(1);
    PlaySoundEffect(9);
    ASSERT_EQ(Mix_PlayingMusic(), 1);
    ASSERT_EQ(Mix_Playing(0), 1);
    CreateSession();
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_EQ(Mix_Playing(0), 0);

    session->system->PlayBgm(1); // the bonus ship's tune
    ASSERT_EQ(Mix_PlayingMusic(), 1);
    DestroyGameSession(session);
    session = nullptr;
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

TEST_F(GameSessionTest, BasicSystemForwardsToPadZeroSoundAndTheConsole)
{
    CreateSession();
    BasicSystem& system = *session->system;
    gInputState.buttons[0] = BUTTON_A;
    gInputState.prevButtons[0] = 0;
    gInputState.axisButtons[0] = BUTTON_LEFT;
    gInputState.prevAxisButtons[0] = BUTTON_LEFT;
    gInputState.buttons[1] = BUTTON_B; // pad 1 is never asked for
    EXPECT_EQ(system.GetHeldButtons(), BUTTON_A | BUTTON_LEFT);
    EXPECT_EQ(system.GetPressedButtons(), BUTTON_A);

    system.PlaySe(9);
    EXPECT_EQ(Mix_Playing(0), 1);
    EXPECT_EQ(gSoundTable.nextChannel, 1);
    system.StopBgm();

    const int before = gDebugConsole.lineCount;
    system.PrintDebug("Bullet Num: 3");
    if (before < DebugLineCount)
    {
        EXPECT_STREQ(gDebugConsole.lines[before], "Bullet Num: 3");
    }
}
