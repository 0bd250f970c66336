// skyreel-assets: writes the game's data files (pictures, font, sound list,
// sounds) into DATA_DIR and, when ICON_DIR is given, the application icons.
//
//   skyreel-assets DATA_DIR [ICON_DIR]
//
// The art is looked at in the game itself: packaging/screenshots.sh takes
// real screenshots with the simulator.
#include "AssetWriter.h"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3)
    {
        std::fprintf(stderr, "usage: %s DATA_DIR [ICON_DIR]\n", argv[0]);
        return 2;
    }
    try
    {
        std::string error;
        const auto data = assets::GenerateDataFiles();
        if (!assets::WriteFiles(argv[1], data, &error))
        {
            std::fprintf(stderr, "skyreel-assets: %s\n", error.c_str());
            return 1;
        }
        size_t count = data.size();
        if (argc == 3)
        {
            const auto icons = assets::GenerateIconFiles();
            if (!assets::WriteFiles(argv[2], icons, &error))
            {
                std::fprintf(stderr, "skyreel-assets: %s\n", error.c_str());
                return 1;
            }
            count += icons.size();
        }
        std::printf("skyreel-assets: wrote %zu files\n", count);
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "skyreel-assets: %s\n", e.what());
        return 1;
    }
    return 0;
}
