// Replays fuzz inputs without libFuzzer: every file named on the command line,
// and every file inside every folder named there, is handed to the target's
// LLVMFuzzerTestOneInput once. Built in place of the fuzzer when the
// compiler has no libFuzzer, so the committed seed corpora run as ordinary
// tests. Exits with 1 when there was nothing to replay.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace
{

std::vector<std::filesystem::path> Inputs(int argc, char** argv)
{
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i)
    {
        const std::filesystem::path given = std::filesystem::absolute(argv[i]);
        if (std::filesystem::is_directory(given))
        {
            std::vector<std::filesystem::path> found;
            for (const auto& entry : std::filesystem::directory_iterator(given))
            {
                if (entry.is_regular_file())
                {
                    found.push_back(entry.path());
                }
            }
            std::sort(found.begin(), found.end()); // the same order on every run
            files.insert(files.end(), found.begin(), found.end());
        }
        else if (std::filesystem::is_regular_file(given))
        {
            files.push_back(given);
        }
        else
        {
            std::fprintf(stderr, "no such input: %s\n", argv[i]);
        }
    }
    return files;
}

} // namespace

int main(int argc, char** argv)
{
    // Taken before a target changes into its scratch folder.
    const std::vector<std::filesystem::path> files = Inputs(argc, argv);
    for (const auto& file : files)
    {
        std::ifstream in(file, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>()};
        std::printf("replaying %s (%zu bytes)\n", file.filename().c_str(), bytes.size());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("replayed %zu inputs\n", files.size());
    return files.empty() ? 1 : 0;
}
