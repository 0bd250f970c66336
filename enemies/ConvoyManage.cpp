#include "enemies/ConvoyManage.h"

#include "bullets/Angle.h"
#include "bullets/BulletMaker.h"
#include "player/MyShotManage.h"

#include <algorithm>
#include <iterator>

namespace
{
// Field units.
constexpr float ColumnSpacing = 40.0f;
constexpr float FirstColumnX = 40.0f;
constexpr int32_t RowSpacing = 50;
constexpr float SideStep = 6.0f;
constexpr float DownStep = 8.0f;
constexpr float RightTurnX = 428.0f; // marching right turns down beyond this
constexpr float LeftTurnX = 20.0f;   // marching left turns down below this
constexpr float SweepScanStartX = 224.0f;

constexpr float EnemyRadius = 8.0f;
constexpr int SparkSize = 1;

// Frames between volleys, by stage.
int32_t VolleyPeriod(int32_t stage)
{
    if (stage <= 1)
    {
        return 100;
    }
    if (stage <= 3)
    {
        return 80;
    }
    return 60;
}

// The strongest pattern the formation may choose with `alive` enemies left.
BulletPattern HighestPattern(int alive)
{
    if (alive >= 36)
    {
        return PatternColumn;
    }
    if (alive >= 26)
    {
        return PatternAimed;
    }
    if (alive >= 16)
    {
        return PatternFan;
    }
    return PatternRing;
}
} // namespace

ConvoyManage::ConvoyManage()
    : bulletMaker(nullptr), renderContext(nullptr), stage(1), marchState(MarchRight), nextIndex(0),
      animFrame(0), pauseFrames(0), fireClock(0)
{
}

ConvoyManage::~ConvoyManage()
{
    delete bulletMaker;
}

void ConvoyManage::SetBulletMaker(BulletMaker* maker)
{
    if (maker == bulletMaker)
    {
        return;
    }
    delete bulletMaker;
    bulletMaker = maker;
}

void ConvoyManage::SetRenderContext(RenderContext* context)
{
    renderContext = context;
}

void ConvoyManage::StartStage(int stageNumber)
{
    fireClock = 0;
    marchState = MarchRight;
    nextIndex = 0;
    animFrame = 0;
    pauseFrames = 0;
    stage = stageNumber;
    LayOut();
    if (bulletMaker != nullptr)
    {
        bulletMaker->SetLevel(stage);
    }
}

void ConvoyManage::LayOut()
{
    int32_t rowY = std::min(240 + 10 * stage, 340);
    for (int row = 0; row < Rows; ++row)
    {
        const int score = 1000 * (row + 1);
        for (int col = 0; col < Columns; ++col)
        {
            EnemyObject& enemy = enemies[Columns * row + col];
            enemy.ShowPicture(sheet::EnemyWalk, true);
            enemy.exploding = false;
            enemy.SetKind(0);
            enemy.SetFrame(0);
            enemy.SetHitRadius(EnemyRadius);
            enemy.SetGrazeRadius(EnemyRadius);
            enemy.hitEnabled = true;
            enemy.y = static_cast<float>(rowY);
            enemy.x = FirstColumnX + ColumnSpacing * static_cast<float>(col);
            enemy.SetRenderContext(renderContext);
            enemy.SetScore(score);
        }
        rowY -= RowSpacing;
    }
}

bool ConvoyManage::Update()
{
    for (EnemyObject& enemy : enemies)
    {
        enemy.UpdateExplosion();
    }
    const Marched marched = March();
    DrawEnemies();
    if (marched == Marched::StoodStill)
    {
        return false; // the fire clock stands still too
    }

    fireClock += 1;
    if (fireClock % VolleyPeriod(stage) == 0)
    {
        FireVolley();
    }
    return marched == Marched::EndedSweep;
}

ConvoyManage::Marched ConvoyManage::March()
{
    if (pauseFrames > 0)
    {
        // Standing still after a hit; at its end the struck enemy is gone.
        pauseFrames -= 1;
        if (pauseFrames == 0)
        {
            for (EnemyObject& enemy : enemies)
            {
                if (enemy.exploding)
                {
                    enemy.exploding = false;
                    enemy.LeavePlay();
                }
            }
        }
        return Marched::StoodStill;
    }

    int i = nextIndex;
    while (i < EnemyCount && !enemies[i].active)
    {
        ++i;
    }
    if (i >= EnemyCount)
    {
        EndSweep();
        return Marched::EndedSweep;
    }
    EnemyObject& enemy = enemies[i];
    switch (marchState)
    {
    case MarchRight:
        enemy.x += SideStep;
        break;
    case StepDownRight:
    case StepDownLeft:
        enemy.y += DownStep;
        break;
    case MarchLeft:
        enemy.x -= SideStep;
        break;
    default:
        break;
    }
    enemy.SetFrame(animFrame);
    nextIndex = i + 1;
    return Marched::Stepped;
}

void ConvoyManage::EndSweep()
{
    animFrame = 1 - animFrame;
    nextIndex = 0;

    float smallest = SweepScanStartX;
    float largest = SweepScanStartX;
    for (const EnemyObject& enemy : enemies)
    {
        if (enemy.active)
        {
            smallest = std::min(smallest, enemy.x);
            largest = std::max(largest, enemy.x);
        }
    }

    switch (marchState)
    {
    case MarchRight:
        if (largest > RightTurnX)
        {
            marchState = StepDownRight;
        }
        break;
    case StepDownRight:
        marchState = MarchLeft;
        break;
    case MarchLeft:
        if (smallest < LeftTurnX)
        {
            marchState = StepDownLeft;
        }
        break;
    case StepDownLeft:
        marchState = MarchRight;
        break;
    default:
        break;
    }
}

void ConvoyManage::DrawEnemies()
{
    for (EnemyObject& enemy : enemies)
    {
        enemy.Draw();
    }
}

EnemyObject* ConvoyManage::LowestInColumn(int column)
{
    for (int row = 0; row < Rows; ++row)
    {
        EnemyObject& enemy = enemies[Columns * row + column];
        if (enemy.active)
        {
            return &enemy;
        }
    }
    return nullptr;
}

void ConvoyManage::FireVolley()
{
    EnemyObject* candidates[Columns] = {};
    int n = 0;
    for (int col = 0; col < Columns; ++col)
    {
        EnemyObject* lowest = LowestInColumn(col);
        if (lowest != nullptr)
        {
            candidates[n] = lowest;
            ++n;
        }
    }
    if (n == 0 || bulletMaker == nullptr)
    {
        return;
    }

    // Two draws, pattern first: the order decides the course of a game.
    const int pattern = RandomRange(PatternColumn, HighestPattern(CountAlive()));
    const int k = RandomRange(0, n - 1);
    bulletMaker->SetOwner(candidates[k]);
    bulletMaker->Fire(pattern);
}

int ConvoyManage::HitByShot(MyShotManage& shot)
{
    int result = 0;
    for (EnemyObject& enemy : enemies)
    {
        if (!enemy.active || !enemy.HitTest(shot))
        {
            continue;
        }
        enemy.Explode();
        pauseFrames = HitPauseFrames;
        result = enemy.GetScore();
        shot.LeavePlay();
        shot.OnHit(HitPauseFrames);
        if (bulletMaker != nullptr)
        {
            bulletMaker->EmitSparks(SparkSize, enemy.x, enemy.y);
        }
        // The scan goes on, but the shot can no longer strike anything.
    }
    return result;
}

int ConvoyManage::CountAlive() const
{
    int alive = 0;
    for (const EnemyObject& enemy : enemies)
    {
        if (enemy.active)
        {
            ++alive;
        }
    }
    return alive;
}

bool ConvoyManage::HasLanded() const
{
    return std::any_of(std::begin(enemies), std::end(enemies),
                       [](const EnemyObject& enemy)
                       { return enemy.active && enemy.y > static_cast<float>(FieldHeight); });
}
