// skyreel-sim: the game headless, from a replay or the autoplayer. See --help
// and the "Simulator" section of docs/DEVELOPING.md.
#include "Options.h"
#include "Run.h"

#include <cstdio>
#include <string>
#include <unistd.h>

int main(int argc, char** argv)
{
    sim::SimOptions options;
    std::string error;
    if (!sim::ParseOptions(argc, argv, &options, &error))
    {
        std::fprintf(stderr, "skyreel-sim: %s\n", error.c_str());
        return 3;
    }
    if (options.help)
    {
        std::fputs(sim::UsageText(), stdout);
        return 0;
    }
    const std::string texture =
        (options.dataDir.empty() ? "" : options.dataDir + "/") + "data/texture1.png";
    if (!options.quiet && access(texture.c_str(), R_OK) != 0)
    {
        std::fprintf(stderr,
                     "skyreel-sim: %s not found: the game runs the same, but pictures are blank "
                     "(run from the repository root, or use --data-dir)\n",
                     texture.c_str());
    }

    const sim::RunResult result = sim::RunSimulation(options, stdout);
    for (const std::string& warning : result.warnings)
    {
        std::fprintf(stderr, "skyreel-sim: %s\n", warning.c_str());
    }
    if (result.exitStatus != 0)
    {
        std::fprintf(stderr, "skyreel-sim: %s\n", result.message.c_str());
    }
    if (result.exitStatus != 3)
    {
        std::printf("%s\n", sim::SummaryJson(result).c_str());
    }
    return result.exitStatus;
}
