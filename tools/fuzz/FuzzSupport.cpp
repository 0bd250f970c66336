#include "FuzzSupport.h"

#include "platform/FrameLoop.h"
#include "platform/Render.h"

#include <SDL/SDL.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

// Requests for more memory than the allocator can give return null, as
// they do without the sanitizer: SDL_image asks for sizes read from damaged
// headers (the WebP reader up to 2^64 bytes) and copes with a null answer.
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1";
}

namespace skyreel_fuzz
{
namespace
{

std::string gScratch;
RenderContext* gContext = nullptr;

void RemoveScratch()
{
    if (!gScratch.empty())
    {
        std::error_code ignored;
        std::filesystem::current_path("/", ignored);
        std::filesystem::remove_all(gScratch, ignored);
    }
}

// At exit: SDL's threads (the audio device's) stopped before the process ends.
void StopOnce()
{
    StopPlatform(gContext);
    gContext = nullptr;
}

} // namespace

void StartOnce()
{
    static bool started = false;
    if (started)
    {
        return;
    }
    started = true;
    std::string pattern = (std::filesystem::temp_directory_path() / "skyreel-fuzz-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back(0);
    if (mkdtemp(buffer.data()) == nullptr)
    {
        Fail("cannot make a scratch folder");
    }
    gScratch = buffer.data();
    std::filesystem::create_directory(gScratch + "/data");
    std::filesystem::current_path(gScratch);
    std::atexit(RemoveScratch);

    PlatformOptions options;
    options.dummyDrivers = true;
    options.sound = false;
    gContext = StartPlatform(options);
    if (gContext == nullptr)
    {
        Fail("the platform did not start on the dummy drivers");
    }
    std::atexit(StopOnce);
}

void WriteFile(const char* path, const uint8_t* data, size_t size)
{
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr)
    {
        Fail("cannot write a scratch file");
    }
    if (size > 0)
    {
        std::fwrite(data, 1, size, file);
    }
    std::fclose(file);
}

void RemoveFile(const char* path)
{
    std::remove(path);
}

void Fail(const char* what)
{
    std::fprintf(stderr, "skyreel fuzz: %s\n", what);
    std::fflush(stderr);
    std::abort();
}

RenderContext* ScreenContext()
{
    StartOnce();
    if (gContext->screen == nullptr)
    {
        Fail("no screen on the dummy video driver");
    }
    return gContext;
}

} // namespace skyreel_fuzz
