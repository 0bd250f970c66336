// Whole frames of the real game: a heavy play frame (update and present with
// the bullet list full), and how many updates a second the game runs with
// and without presenting.
#include "bullets/BulletManage.h"
#include "game/GameDirector.h"
#include "objects/SpriteItem.h"
#include "presentation/BackGroundManage.h"
#include "tools/bench/BenchSupport.h"
#include "tools/bench/Benchmarks.h"
#include "tools/reference/ReferenceRender.h"

#include <benchmark/benchmark.h>

namespace bench
{
namespace
{

using PresentFn = void (*)(RenderContext*);

void HeavyFrame(benchmark::State& state, PresentFn present)
{
    Game game;
    if (!game.ok() || !game.ReachPlay())
    {
        state.SkipWithError("the game did not reach its play scene");
        return;
    }
    game.FillBullets();
    GameDirector* director = game.Director();
    SpriteItem* turning = director->background->layers[1];
    int64_t n = 0;
    for (auto _ : state)
    {
        // The turning layer costs more at some angles than at others; every
        // frame takes the next angle of an even spread, so a short run (the
        // baseline's) and a long one see the same mix.
        turning->angle = SpreadAngleUnits(n++);
        game.Update();
        present(game.context);
    }
    state.counters["bullets"] = static_cast<double>(director->bullets->count);
    if (director->scene != GameDirector::ScenePlay)
    {
        state.SkipWithError("the play scene ended during the run");
    }
}

// Keys of a player who keeps firing and sweeps from side to side; the
// confirm key also takes the game through the title after each game over.
void Play(Game& game, int64_t update)
{
    if (update % 12 == 0)
    {
        game.Key(SDLK_z, true);
    }
    else if (update % 12 == 6)
    {
        game.Key(SDLK_z, false);
    }
    if (update % 180 == 0)
    {
        game.Key(SDLK_RIGHT, false);
        game.Key(SDLK_LEFT, true);
    }
    else if (update % 180 == 90)
    {
        game.Key(SDLK_LEFT, false);
        game.Key(SDLK_RIGHT, true);
    }
}

void Throughput(benchmark::State& state, PresentFn present)
{
    Game game;
    if (!game.ok())
    {
        state.SkipWithError("the game did not start");
        return;
    }
    int64_t update = 0;
    for (auto _ : state)
    {
        Play(game, update++);
        game.Update();
        if (present != nullptr)
        {
            present(game.context);
        }
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

void RegisterFrameBenchmarks()
{
    benchmark::RegisterBenchmark(HeavyFrameName(RendererName).c_str(), HeavyFrame, &PresentFrame)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(HeavyFrameName(BaselineName).c_str(), HeavyFrame,
                                 &reference::PresentFrame)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(ThroughputUpdateOnly, Throughput, PresentFn{nullptr})
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(ThroughputPresentName(RendererName).c_str(), Throughput,
                                 &PresentFrame)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(ThroughputPresentName(BaselineName).c_str(), Throughput,
                                 &reference::PresentFrame)
        ->Unit(benchmark::kMicrosecond);
}

} // namespace bench
