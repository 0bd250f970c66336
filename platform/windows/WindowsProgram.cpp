// The program on Windows: what the Linux launcher does before the game starts
// (--scale, SKYREEL_SCALE, --version, the working directory that holds
// data/), then the desktop's paced frame loop.
#include "platform/FrameLoop.h"
#include "platform/Screen.h"
#include "platform/desktop/DesktopLoop.h"
#include "platform/windows/WindowsWindow.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <windows.h>

namespace
{

constexpr int Proceed = -1; // ReadOptions: start the game

void PrintUsage(std::FILE* to)
{
    std::fputs("usage: skyreel [--scale N]   (N from 1 to 8; or set SKYREEL_SCALE=N)\n", to);
    std::fputs("       skyreel --version\n", to);
}

// A window program started from a console writes nowhere unless its output
// is redirected; it then writes to that console, as on Linux.
void WriteToStartingConsole()
{
    const auto missing = [](DWORD which)
    {
        const HANDLE handle = GetStdHandle(which);
        return handle == nullptr || handle == INVALID_HANDLE_VALUE;
    };
    const bool noOutput = missing(STD_OUTPUT_HANDLE);
    const bool noError = missing(STD_ERROR_HANDLE);
    if ((!noOutput && !noError) || AttachConsole(ATTACH_PARENT_PROCESS) == 0)
    {
        return;
    }
    if (noOutput)
    {
        std::freopen("CONOUT$", "w", stdout);
    }
    if (noError)
    {
        std::freopen("CONOUT$", "w", stderr);
    }
}

// Sets the window scale from the command line, else SKYREEL_SCALE, else the
// largest that fits the screen. Returns the exit status when the program
// ends here, else Proceed.
int ReadOptions(int argc, char** argv)
{
    const char* given = std::getenv("SKYREEL_SCALE");
    std::string scale = given == nullptr ? "" : given;
    for (int i = 1; i < argc; ++i)
    {
        const std::string argument = argv[i];
        if (argument == "--scale" && i + 1 < argc)
        {
            scale = argv[++i];
        }
        else if (argument.starts_with("--scale="))
        {
            scale = argument.substr(std::strlen("--scale="));
        }
        else if (argument == "-h" || argument == "--help")
        {
            PrintUsage(stdout);
            return 0;
        }
        else if (argument == "--version")
        {
            std::printf("skyreel %s\n", SKYREEL_VERSION);
            return 0;
        }
        else
        {
            if (argument != "--scale")
            {
                std::fprintf(stderr, "skyreel: unknown argument '%s'\n", argument.c_str());
            }
            PrintUsage(stderr);
            return 2;
        }
    }
    if (scale.empty())
    {
        SetWindowScale(FittingWindowScale(ScreenWidth, ScreenHeight));
        return Proceed;
    }
    if (scale.size() != 1 || scale[0] < '0' + MinWindowScale || scale[0] > '0' + MaxWindowScale)
    {
        std::fprintf(stderr, "skyreel: scale must be a whole number from 1 to 8, not '%s'\n",
                     scale.c_str());
        return 2;
    }
    SetWindowScale(scale[0] - '0');
    return Proceed;
}

// The game reads data/ from its working directory: the exe's own folder,
// wherever it was started from. Returns false, after saying why, when the
// data is not there.
bool MoveToProgramFolder()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
    {
        wchar_t* slash = std::wcsrchr(path, L'\\');
        if (slash != nullptr)
        {
            *slash = L'\0';
            SetCurrentDirectoryW(path);
        }
    }
    if (GetFileAttributesW(L"data\\texture1.png") == INVALID_FILE_ATTRIBUTES)
    {
        std::fputs("skyreel: game data missing: data\\texture1.png not found beside skyreel.exe\n",
                   stderr);
        return false;
    }
    return true;
}

} // namespace

int RunProgram(const GameSessionHooks& game)
{
    WriteToStartingConsole();
    const int status = ReadOptions(__argc, __argv);
    if (status != Proceed)
    {
        return status;
    }
    if (!MoveToProgramFolder())
    {
        return 1;
    }
    return RunPacedProgram(game);
}
