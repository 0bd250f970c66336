#include "game/GameDirector.h"

#include "bullets/Angle.h"
#include "bullets/BulletMaker.h"
#include "bullets/BulletManage.h"
#include "enemies/BonusShipManage.h"
#include "enemies/ConvoyManage.h"
#include "game/BasicSystem.h"
#include "platform/Buttons.h"
#include "player/MyShipManage.h"
#include "player/MyShotManage.h"
#include "presentation/BackGroundManage.h"
#include "presentation/PanelManage.h"
#include "presentation/TitleManage.h"

#include <cstdio>
#include <cstdlib>

namespace
{
constexpr int DebugTextSize = 128; // 127 characters and the terminator

constexpr int32_t StageWaitBase = 1200; // bonus-ship wait at a stage start, plus 0..1200
constexpr int32_t StageWaitSpread = 1200;
constexpr int32_t FlightWaitBase = 600; // wait after a bonus ship has gone, plus 0..600
constexpr int32_t FlightWaitSpread = 600;
constexpr int32_t BonusValueStep = 5000; // a bonus ship is worth 1..6 of these
constexpr int32_t GrazePoints = 100;
constexpr int32_t CancelScale = 10; // CancelAll counts 100 a bullet: 1000 a bullet
constexpr int DebrisSize = 2;
} // namespace

GameDirector::~GameDirector()
{
    delete panel;
    delete ship;
    delete shot;
    delete convoy;
    delete bullets;
    delete bonusShip;
    delete background;
    delete title;
}

void GameDirector::SetSystem(BasicSystem* basicSystem)
{
    system = basicSystem;
}

void GameDirector::Initialize()
{
    score = 0;
    hiScore = 0;
    grazeCount = 0;
    scene = SceneTitleSetUp;
    gameOverTimer = 0;

    panel = new PanelManage();
    ship = new MyShipManage();
    shot = new MyShotManage();
    convoy = new ConvoyManage();
    bullets = new BulletManage();
    bonusShip = new BonusShipManage();
    background = new BackGroundManage();
    title = new TitleManage();

    RenderContext* context = system != nullptr ? system->renderContext : nullptr;
    panel->Initialize(context);
    ship->SetRenderContext(context);
    shot->SetRenderContext(context);
    convoy->SetRenderContext(context);
    bonusShip->SetRenderContext(context);
    background->Initialize(context);
    title->Initialize(context);

    // The convoy fires every enemy bullet through this maker and owns it.
    auto* maker = new BulletMaker();
    maker->SetTarget(ship);
    maker->SetRenderContext(context);
    maker->SetManager(bullets);
    convoy->SetBulletMaker(maker);

    ResetGame();
    StartStage();
}

void GameDirector::ResetGame()
{
    ship->Reset();
    bonusShip->Reset(0);
    stage = 1;
    grazeCount = 0;
    score = 0;
    // The panel learns the high score only here, so a new best shows from
    // the next game on.
    panel->SetHiScore(hiScore);
    panel->SetGameOver(false);
    background->Reset();
    background->SetTargetAlpha(0.0f);
}

void GameDirector::StartStage()
{
    convoy->StartStage(stage);
    const int32_t wait = RandomRange(0, StageWaitSpread);
    bonusShipTimer = StageWaitBase + wait;
    panel->SetStage(stage);
    bullets->Clear();
}

bool GameDirector::Frame()
{
    // Wraps instead of overflowing after 2^31 updates (over a year of running).
    clock = static_cast<int32_t>(static_cast<uint32_t>(clock) + 1u);
    PrintDebugNumber("Clock: %d", clock);

    switch (scene)
    {
    case SceneTitleSetUp:
        title->Reset();
        scene = SceneTitle;
        break;

    case SceneTitle:
        if (!title->Update(system->GetPressedButtons()))
        {
            scene = SceneGameStart;
        }
        if (title->IsConfirmPressed())
        {
            system->PlaySe(SeConfirm);
        }
        title->Draw();
        break;

    case SceneGameStart:
        // Nothing is drawn in this update.
        ResetGame();
        StartStage();
        // The course of a game depends on how long the title was shown.
        srand(static_cast<unsigned>(clock));
        scene = ScenePlay;
        break;

    case ScenePlay:
        if (!PlayFrame())
        {
            scene = SceneGameOver;
            gameOverTimer = GameOverFrames;
        }
        break;

    case SceneGameOver:
        if (!GameOverFrame())
        {
            scene = SceneTitleSetUp;
        }
        break;

    default:
        break;
    }
    return true;
}

bool GameDirector::PlayFrame()
{
    // The upper background layer fades in as the convoy is destroyed; not
    // quite 0 with the convoy whole.
    const int alive = convoy->CountAlive();
    const float target = alive == ConvoyManage::EnemyCount
                             ? 0.0001f
                             : static_cast<float>(ConvoyManage::EnemyCount - alive) /
                                   static_cast<float>(ConvoyManage::EnemyCount);
    background->SetTargetAlpha(target);
    background->Update();
    background->Draw();

    // Laid out now with the score as it stands; drawn last, over the field.
    panel->SetScore(score);
    panel->SetGraze(grazeCount);
    panel->Update();

    ship->Move(system->GetHeldButtons(), system->GetPressedButtons());

    // Only a new press fires; a press while the shot is out does nothing.
    if ((system->GetPressedButtons() & BUTTON_A) != 0 && shot->Fire(*ship))
    {
        system->PlaySe(SeShot);
    }
    shot->Move();

    // Moves, fires and draws the enemies.
    if (convoy->Update())
    {
        system->PlaySe(MARCH_SOUNDS[marchStep]);
        marchStep = (marchStep + 1) % MarchSoundCount;
    }

    const int enemyPoints = convoy->HitByShot(*shot);
    if (enemyPoints > 0)
    {
        system->PlaySe(SeEnemyDestroyed);
        score += enemyPoints;
    }

    bullets->Update();

    // A hit ends the game, but this update still runs to its end. Enemies
    // march on below the ship untouched, where neither its shot nor their
    // volleys can reach; one that passes the field's bottom edge ends the game
    // the same way, or it could go on for ever.
    bool shipSafe = true;
    const bool shipHit = bullets->Collide(*ship);
    if (shipHit || convoy->HasLanded())
    {
        system->StopBgm();
        system->PlaySe(SeShipHit);
        shipSafe = false;
    }

    const int grazes = bullets->GetGrazeCount();
    if (grazes > 0)
    {
        system->PlaySe(SeGraze); // once, however many
        grazeCount += grazes;
        score += GrazePoints * grazes;
    }

    UpdateBonusShip(!shipSafe);

    if (convoy->CountAlive() == 0)
    {
        score += CancelScale * bullets->CancelAll();
        stage += 1;
        StartStage();
    }

    shot->Draw();
    ship->Draw();
    bonusShip->Draw();
    const int drawn = bullets->Draw();
    panel->Draw();

    PrintDebugNumber("Bullet Num: %d", drawn);
    PrintDebugNumber("Bonus Ship Timer: %d", bonusShipTimer);
    return shipSafe;
}

void GameDirector::UpdateBonusShip(bool shipHit)
{
    if (!bonusShip->IsFlying())
    {
        // A timer of T launches the bonus ship T + 1 updates later.
        if (bonusShipTimer <= 0)
        {
            const int32_t multiple = RandomRange(1, 6); // drawn before Launch's draw
            bonusShip->SetScore(BonusValueStep * multiple);
            bonusShip->Launch();
            // The music would outlive the game: the ship was hit and the game
            // is over, so it is not started.
            if (!shipHit)
            {
                system->PlayBgm(BgmBonusShip);
            }
        }
        else
        {
            bonusShipTimer -= 1;
        }
        return;
    }

    if (!bonusShip->Move())
    {
        const int32_t wait = RandomRange(0, FlightWaitSpread);
        bonusShipTimer = FlightWaitBase + wait;
        system->StopBgm();
    }
    // After Move: a crossing that ended in this update can no longer be hit.
    if (bonusShip->HitByShot(*shot))
    {
        score += bonusShip->GetScore();
        BulletMaker debris;
        debris.SetRenderContext(system->renderContext);
        debris.SetManager(bullets);
        debris.EmitSparks(DebrisSize, bonusShip->x, bonusShip->y);
        system->StopBgm();
        system->PlaySe(SeBonusShipDestroyed);
        const int32_t wait = RandomRange(0, FlightWaitSpread);
        bonusShipTimer = FlightWaitBase + wait;
    }
}

bool GameDirector::GameOverFrame()
{
    // Nothing moves and the buttons are not read; the enemies are not drawn.
    panel->SetGameOver(true);
    panel->Update();
    background->Draw();
    shot->Draw();
    ship->Draw();
    bonusShip->Draw();
    bullets->Draw();
    panel->Draw();

    gameOverTimer -= 1;
    // A timer set to 0 or below from outside ends the scene too.
    if (gameOverTimer <= 0)
    {
        if (score > hiScore)
        {
            hiScore = score;
        }
        return false;
    }
    return true;
}

void GameDirector::PrintDebugNumber(const char* format, int32_t value)
{
    char text[DebugTextSize];
    std::snprintf(text, sizeof text, format, value);
    system->PrintDebug(text);
}
