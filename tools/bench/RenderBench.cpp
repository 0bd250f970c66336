// The transformed path on the game's workloads: the render context, the
// straightforward baseline, and SDL_gfx's rotozoom (smoothing off) followed
// by the same blit onto the screen.
#include "tools/bench/BenchSupport.h"
#include "tools/bench/Benchmarks.h"
#include "tools/reference/ReferenceRender.h"

#include <SDL/SDL_rotozoom.h>
#include <benchmark/benchmark.h>

namespace bench
{
namespace
{

enum class Who
{
    Renderer,
    Baseline,
    SdlGfx,
};

SpriteCommand MakeCommand(const Workload& w, SDL_Surface* sheet)
{
    SpriteCommand command{};
    command.inUse = 1;
    command.textureSlot = 0;
    command.x = w.centreX - w.width / 2;
    command.y = w.centreY - w.height / 2;
    command.width = w.width;
    command.height = w.height;
    command.u = w.u;
    command.v = w.v;
    command.scaleX = w.scale;
    command.scaleY = w.scale;
    command.angle = 0.0f;
    command.alpha = 255;
    command.texture = sheet;
    return command;
}

void DrawTransformed(benchmark::State& state, const Workload& w, Who who)
{
    Canvas canvas;
    if (!canvas.ok())
    {
        state.SkipWithError("no dummy video or no data/texture1.png");
        return;
    }
    SpriteCommand command = MakeCommand(w, canvas.sheet);
    // SDL_gfx turns a whole surface: it gets the sprite's rectangle cut out
    // once, in the screen's channel order so that its blit is SDL's fastest.
    SDL_Surface* cut =
        who == Who::SdlGfx ? canvas.CutScreenOrder(w.u, w.v, w.width, w.height) : nullptr;
    SDL_Surface* screen = canvas.context->screen;
    int64_t n = 0;
    for (auto _ : state)
    {
        // 137 and 360 share no factor: the first 360 draws take every whole
        // degree once, and any shorter run is spread over the turn.
        const int degrees = w.turning ? static_cast<int>((n * 137) % 360) : 0;
        ++n;
        command.angle = static_cast<float>(degrees);
        switch (who)
        {
        case Who::Renderer:
            DrawSpriteTransformed(canvas.context, &command);
            break;
        case Who::Baseline:
            reference::DrawSpriteTransformed(canvas.context, &command);
            break;
        case Who::SdlGfx:
        {
            SDL_Surface* turned = rotozoomSurfaceXY(cut, degrees, static_cast<double>(w.scale),
                                                    static_cast<double>(w.scale), SMOOTHING_OFF);
            SDL_Rect at;
            at.x = static_cast<Sint16>(command.x + w.width / 2 - turned->w / 2);
            at.y = static_cast<Sint16>(command.y + w.height / 2 - turned->h / 2);
            SDL_BlitSurface(turned, nullptr, screen, &at);
            SDL_FreeSurface(turned);
            break;
        }
        }
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(cut);
}

} // namespace

void RegisterRenderBenchmarks()
{
    for (const Workload& w : Workloads)
    {
        const std::pair<const char*, Who> whos[] = {{RendererName, Who::Renderer},
                                                    {BaselineName, Who::Baseline},
                                                    {SdlGfxName, Who::SdlGfx}};
        for (const auto& [name, who] : whos)
        {
            benchmark::RegisterBenchmark(TransformedName(w, name).c_str(), DrawTransformed, w, who)
                ->Unit(benchmark::kMicrosecond);
        }
    }
}

} // namespace bench
