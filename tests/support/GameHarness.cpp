#include "tests/support/GameHarness.h"

#include "platform/FrameLoop.h"

#include <SDL/SDL_mixer.h>

namespace skyreel_test
{

void GameHarness::SetUp()
{
    context = StartPlatform();
    ASSERT_NE(context, nullptr) << SDL_GetError();
    ASSERT_EQ(gSoundTable.enabled, 1) << "the dummy audio device did not open";
    game = CreateGameSession(context);
    ASSERT_NE(game, nullptr);
    director = game->director;
    ASSERT_NE(director, nullptr);
    gDebugConsole.lineCount = 0;
}

void GameHarness::TearDown()
{
    if (game != nullptr)
    {
        DestroyGameSession(game);
        game = nullptr;
    }
    if (context != nullptr)
    {
        StopPlatform(context);
        context = nullptr;
    }
}

void GameHarness::Restart()
{
    TearDown();
    SetUp();
}

std::vector<int> GameHarness::Update()
{
    const int before = gSoundTable.nextChannel;
    gDebugConsole.lineCount = 0;
    UpdateInput();
    RunGameSessionFrame(game);
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

std::vector<int> GameHarness::Run(int n)
{
    std::vector<int> played;
    for (int i = 0; i < n; ++i)
    {
        const std::vector<int> now = Update();
        played.insert(played.end(), now.begin(), now.end());
    }
    return played;
}

void GameHarness::PushKey(SDLKey key, bool down)
{
    EXPECT_EQ(PushKeyEvent(key, down), 0);
}

std::vector<int> GameHarness::Tap(SDLKey key)
{
    PushKey(key, true);
    std::vector<int> played = Update();
    PushKey(key, false);
    return played;
}

void GameHarness::PlayThroughTitle()
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

void GameHarness::MakeShipUntouchable()
{
    director->ship->hitEnabled = false;
    director->ship->grazeEnabled = false;
}
BulletMaker* GameHarness::AddBullet(float x, float y, float speed, float direction)
{
    auto* bullet = new BulletMaker();
    bullet->x = x;
    bullet->y = y;
    bullet->ShowPicture(sheet::NeedleShot, true);
    bullet->hitEnabled = true;
    bullet->grazeEnabled = true;
    bullet->SetHitRadius(4.0f);
    bullet->SetGrazeRadius(11.0f);
    bullet->speed = speed;
    bullet->direction = direction;
    bullet->maxSpeed = 5.0f;
    bullet->life = 3600;
    bullet->motionType = MotionShot;
    bullet->SetRenderContext(context);
    if (!director->bullets->Add(bullet))
    {
        delete bullet;
        ADD_FAILURE() << "the bullet list is full";
        return nullptr;
    }
    return bullet;
}

bool GameHarness::MusicPlaying()
{
    return Mix_PlayingMusic() != 0;
}

std::vector<std::string> GameHarness::DebugLines()
{
    std::vector<std::string> lines;
    for (int i = 0; i < gDebugConsole.lineCount; ++i)
    {
        lines.emplace_back(gDebugConsole.lines[i]);
    }
    return lines;
}

} // namespace skyreel_test
