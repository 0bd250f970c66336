// The benchmark families and their names, which the ratio report looks up.
#pragma once

#include <string>

namespace bench
{

// Who draws: the render context, the straightforward baseline kept beside
// the benchmarks, or SDL_gfx's rotozoom followed by a blit.
inline const char* const RendererName = "renderer";
inline const char* const BaselineName = "baseline";
inline const char* const SdlGfxName = "sdlgfx";

// The transformed-path workloads of the game.
struct Workload
{
    const char* name;
    const char* what; // for the report
    int u, v, width, height;
    float scale;
    int centreX, centreY; // screen pixel the sprite is centred on
    bool turning;         // drawn at every whole degree in turn, else unturned
};

inline constexpr Workload Workloads[] = {
    {"Turning128Scale3", "128 x 128 at scale 3.0, turning (background layer 1)", 128, 64, 128, 128,
     3.0f, 192, 136, true},
    {"Still128Scale2", "128 x 128 at scale 2.0 (background layer 0)", 0, 64, 128, 128, 2.0f, 192,
     136, false},
    {"Title64Scale5.5", "64 x 64 at scale 5.5 (title backdrop)", 0, 448, 64, 64, 5.5f, 240, 136,
     false},
    {"Spark8Turning", "8 x 8 spark, turning", 128, 0, 8, 8, 1.0f, 200, 100, true},
};

inline std::string TransformedName(const Workload& workload, const char* who)
{
    return std::string("Transformed/") + workload.name + "/" + who;
}

inline std::string HeavyFrameName(const char* who)
{
    return std::string("HeavyFrame/") + who;
}

inline const char* const ThroughputUpdateOnly = "Throughput/update";
inline std::string ThroughputPresentName(const char* who)
{
    return std::string("Throughput/update+present/") + who;
}

void RegisterRenderBenchmarks();
void RegisterFrameBenchmarks();

} // namespace bench
