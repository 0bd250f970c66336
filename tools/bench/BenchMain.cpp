// skyreel-bench: the renderer and the game against baselines measured in the
// same run, then the ratios. Takes Google Benchmark's flags, and --root=DIR
// for the folder that holds data/ (default: the source tree).
#include "tools/bench/BenchSupport.h"
#include "tools/bench/Benchmarks.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace
{

constexpr double FramePeriodSeconds = 0.016;
constexpr double HeavyFrameTarget = 3.0;   // times faster than the baseline
constexpr double TurningLayerTarget = 2.0; // times faster than SDL_gfx + blit

// The console report as usual, and every result kept for the ratios: the
// median when repetitions were asked for, else the run itself.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
        {
            if (run.error_occurred)
            {
                continue;
            }
            const double seconds =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            const std::string name = run.run_name.str();
            if (run.run_type == Run::RT_Aggregate)
            {
                if (run.aggregate_name == "median")
                {
                    medians[name] = seconds;
                }
            }
            else
            {
                singles[name] = seconds;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Seconds per iteration, or 0 when the benchmark did not run.
    double Seconds(const std::string& name) const
    {
        if (auto it = medians.find(name); it != medians.end())
        {
            return it->second;
        }
        auto it = singles.find(name);
        return it == singles.end() ? 0.0 : it->second;
    }

private:
    std::map<std::string, double> medians;
    std::map<std::string, double> singles;
};

struct Verdicts
{
    int met = 0;
    int missed = 0;

    const char* Judge(double ratio, double target)
    {
        if (ratio >= target)
        {
            ++met;
            return "met";
        }
        ++missed;
        return "MISSED";
    }
};

void PrintRatios(const RatioReporter& results)
{
    using namespace bench;
    Verdicts verdicts;
    std::printf("\nRatios measured in this run (time per draw or frame; ratio = how many "
                "times faster the renderer is):\n");
    for (const Workload& w : Workloads)
    {
        const double renderer = results.Seconds(TransformedName(w, RendererName));
        if (renderer <= 0.0)
        {
            continue;
        }
        std::printf("  transformed, %s:\n    renderer %.1f us", w.what, renderer * 1e6);
        const double baseline = results.Seconds(TransformedName(w, BaselineName));
        if (baseline > 0.0)
        {
            std::printf(" | baseline %.1f us (%.1fx)", baseline * 1e6, baseline / renderer);
        }
        const double gfx = results.Seconds(TransformedName(w, SdlGfxName));
        if (gfx > 0.0)
        {
            std::printf(" | SDL_gfx + blit %.1f us (%.1fx", gfx * 1e6, gfx / renderer);
            if (w.turning && w.scale == 3.0f)
            {
                std::printf("; target %.0fx %s", TurningLayerTarget,
                            verdicts.Judge(gfx / renderer, TurningLayerTarget));
            }
            std::printf(")");
        }
        std::printf("\n");
    }

    const double frame = results.Seconds(HeavyFrameName(RendererName));
    if (frame > 0.0)
    {
        std::printf("  heavy play frame (update + present; 800 bullets, both background layers, "
                    "panel, overlay, clear):\n    renderer %.0f us = %.1f%% of the 16 ms period",
                    frame * 1e6, 100.0 * frame / FramePeriodSeconds);
        const double baseline = results.Seconds(HeavyFrameName(BaselineName));
        if (baseline > 0.0)
        {
            std::printf(" | baseline %.0f us (%.1fx; target %.0fx %s)", baseline * 1e6,
                        baseline / frame, HeavyFrameTarget,
                        verdicts.Judge(baseline / frame, HeavyFrameTarget));
        }
        std::printf("\n");
    }

    const double update = results.Seconds(ThroughputUpdateOnly);
    const double withPresent = results.Seconds(ThroughputPresentName(RendererName));
    const double baselinePresent = results.Seconds(ThroughputPresentName(BaselineName));
    if (update > 0.0 || withPresent > 0.0 || baselinePresent > 0.0)
    {
        std::printf("  headless game throughput, updates per second:");
        if (update > 0.0)
        {
            std::printf(" %.0f without presenting", 1.0 / update);
        }
        if (withPresent > 0.0)
        {
            std::printf(" | %.0f presenting every update", 1.0 / withPresent);
            if (baselinePresent > 0.0)
            {
                std::printf(" (baseline %.0f: %.1fx)", 1.0 / baselinePresent,
                            baselinePresent / withPresent);
            }
        }
        std::printf("\n");
    }
    if (verdicts.met + verdicts.missed > 0)
    {
        std::printf("  targets: %d met, %d missed\n", verdicts.met, verdicts.missed);
    }
}

} // namespace

int main(int argc, char** argv)
{
    // Our own flag first; Google Benchmark complains about flags it does not know.
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i)
    {
        if (i > 0 && std::strncmp(argv[i], "--root=", 7) == 0)
        {
            bench::SetDataRoot(argv[i] + 7);
            continue;
        }
        args.push_back(argv[i]);
    }
    int count = static_cast<int>(args.size());
    bench::RegisterRenderBenchmarks();
    bench::RegisterFrameBenchmarks();
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
    {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintRatios(reporter);
    benchmark::Shutdown();
    return 0;
}
