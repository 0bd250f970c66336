#include "tests/game/DirectorSession.h"

#include "tests/support/Files.h"

#include <SDL/SDL_mixer.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace
{
std::string gSoundDir;

void WriteSoundList()
{
    char pattern[] = "/tmp/skyreel-game-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    gSoundDir = pattern;
    const std::string wav = gSoundDir + "/tone.wav";
    ASSERT_TRUE(skyreel_test::WriteWav(wav, 250, 2)); // a quarter second, stereo as the mixer plays
    const std::string list = gSoundDir + "/sounddat.lst";
    FILE* f = std::fopen(list.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fprintf(f, "M001 %s\n", wav.c_str());
    for (int n = 1; n <= 13; ++n)
    {
        std::fprintf(f, "S%03d %s\n", n, wav.c_str());
    }
    std::fclose(f);
}
} // namespace

void DirectorSession::SetUpTestSuite()
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO), 0) << SDL_GetError();
    InitInput();
    WriteSoundList();
    InitSoundWithList((gSoundDir + "/sounddat.lst").c_str());
    ASSERT_EQ(gSoundTable.enabled, 1) << "the dummy audio device did not open";
}

void DirectorSession::TearDownTestSuite()
{
    ShutdownSound();
    CloseInput();
    SDL_Quit();
    if (!gSoundDir.empty())
    {
        std::remove((gSoundDir + "/tone.wav").c_str());
        std::remove((gSoundDir + "/sounddat.lst").c_str());
        rmdir(gSoundDir.c_str());
        gSoundDir.clear();
    }
}

void DirectorSession::SetUp()
{
    // Start every test from released keys and an empty event queue.
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0)
    {
    }
    std::memset(&gInputState.buttons, 0, sizeof gInputState.buttons);
    std::memset(&gInputState.prevButtons, 0, sizeof gInputState.prevButtons);
    std::memset(&gInputState.axisButtons, 0, sizeof gInputState.axisButtons);
    std::memset(&gInputState.prevAxisButtons, 0, sizeof gInputState.prevAxisButtons);
    srand(1);

    context = CreateRenderContext(480, 272, 32);
    ASSERT_NE(context, nullptr);
    session = CreateGameSession(context);
    ASSERT_NE(session, nullptr);
    director = session->director;
    ASSERT_NE(director, nullptr);
    ClearDebugLines();
}

void DirectorSession::TearDown()
{
    DestroyGameSession(session);
    DestroyRenderContext(context);
}

std::vector<int> DirectorSession::Update()
{
    const int before = gSoundTable.nextChannel;
    ClearDebugLines();
    UpdateInput();
    EXPECT_TRUE(RunGameSessionFrame(session));
    std::vector<int> played;
    for (int channel = before; channel != gSoundTable.nextChannel;
         channel = (channel + 1) % SoundChannelCount)
    {
        const Mix_Chunk* chunk = Mix_GetChunk(channel);
        for (int n = 0; n < EffectCount; ++n)
        {
            if (chunk != nullptr && gSoundTable.effects[n] == chunk)
            {
                played.push_back(n);
            }
        }
    }
    return played;
}

std::vector<int> DirectorSession::Run(int n)
{
    std::vector<int> played;
    for (int i = 0; i < n; ++i)
    {
        const std::vector<int> now = Update();
        played.insert(played.end(), now.begin(), now.end());
    }
    return played;
}

void DirectorSession::PushKey(SDLKey key, bool down)
{
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.type = event.type;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    EXPECT_EQ(SDL_PushEvent(&event), 0);
}

std::vector<int> DirectorSession::Tap(SDLKey key)
{
    PushKey(key, true);
    std::vector<int> played = Update();
    PushKey(key, false);
    return played;
}

void DirectorSession::PlayThroughTitle()
{
    Run(1 + 1 + 90 + 1); // title set-up, start, slide-in, settle
    ASSERT_EQ(director->scene, GameDirector::SceneTitle);
    ASSERT_EQ(director->title->state, TitleManage::StateWait);
    Tap(SDLK_z);
    Run(91); // the fast blink, the last of which ends the title
    ASSERT_EQ(director->scene, GameDirector::SceneGameStart);
    Update();
    ASSERT_EQ(director->scene, GameDirector::ScenePlay);
}

void DirectorSession::MakeShipUntouchable()
{
    director->ship->hitEnabled = false;
    director->ship->grazeEnabled = false;
}

BulletMaker* DirectorSession::AddBullet(float x, float y)
{
    auto* bullet = new BulletMaker();
    bullet->x = x;
    bullet->y = y;
    bullet->width = 4;
    bullet->height = 8;
    bullet->u = 120;
    bullet->v = 16;
    bullet->centered = true;
    bullet->active = true;
    bullet->visible = true;
    bullet->hitEnabled = true;
    bullet->grazeEnabled = true;
    bullet->SetHitRadius(4.0f);
    bullet->SetGrazeRadius(11.0f);
    bullet->speed = 0.0f;
    bullet->maxSpeed = 0.0f;
    bullet->life = 3600;
    bullet->motionType = 0;
    bullet->SetRenderContext(context);
    EXPECT_TRUE(director->bullets->Add(bullet));
    return bullet;
}

bool DirectorSession::MusicPlaying()
{
    return Mix_PlayingMusic() != 0;
}

std::vector<std::string> DirectorSession::DebugLines()
{
    std::vector<std::string> lines;
    for (int i = 0; i < gDebugConsole.lineCount; ++i)
    {
        lines.emplace_back(gDebugConsole.lines[i]);
    }
    return lines;
}

void DirectorSession::ClearDebugLines()
{
    gDebugConsole.lineCount = 0;
}
