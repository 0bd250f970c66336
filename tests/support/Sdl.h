// SDL for one test, scratch folders, the working directory and environment
// changed for one test, and 32-bit pixels read and written.
#pragma once

#include <SDL/SDL.h>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace skyreel_test
{

// Masks of an RGBA picture as SDL_image loads it on a little-endian host.
constexpr uint32_t RgbaR = 0x000000FFu;
constexpr uint32_t RgbaG = 0x0000FF00u;
constexpr uint32_t RgbaB = 0x00FF0000u;
constexpr uint32_t RgbaA = 0xFF000000u;

// SDL initialised for one test, shut down after it.
class ScopedSdl
{
public:
    explicit ScopedSdl(Uint32 flags) { ok_ = SDL_Init(flags) == 0; }
    ~ScopedSdl() { SDL_Quit(); }
    ScopedSdl(const ScopedSdl&) = delete;
    ScopedSdl& operator=(const ScopedSdl&) = delete;
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

// A fresh folder, removed with everything in it at the end.
class TempDir
{
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "skyreel-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back(0);
        path_ = mkdtemp(buffer.data()) != nullptr ? std::string(buffer.data()) : std::string();
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Working directory changed for one test, restored after it.
class ScopedChdir
{
public:
    explicit ScopedChdir(const std::string& dir) : previous_(std::filesystem::current_path())
    {
        std::filesystem::current_path(dir);
    }
    ~ScopedChdir()
    {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
    }
    ScopedChdir(const ScopedChdir&) = delete;
    ScopedChdir& operator=(const ScopedChdir&) = delete;

private:
    std::filesystem::path previous_;
};

// Environment variable set for one test, restored after it.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        const char* old = std::getenv(name);
        hadOld_ = old != nullptr;
        if (hadOld_)
        {
            old_ = old;
        }
        setenv(name, value, 1);
    }
    ~ScopedEnv()
    {
        if (hadOld_)
        {
            setenv(name_.c_str(), old_.c_str(), 1);
        }
        else
        {
            unsetenv(name_.c_str());
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::string old_;
    bool hadOld_ = false;
};

inline SDL_Surface* MakeRgbaSurface(int w, int h)
{
    return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, RgbaR, RgbaG, RgbaB, RgbaA);
}

inline uint32_t GetPixel32(SDL_Surface* surface, int x, int y)
{
    const auto* row = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
    return reinterpret_cast<const uint32_t*>(row)[x];
}

inline void SetPixel32(SDL_Surface* surface, int x, int y, uint32_t value)
{
    auto* row = static_cast<uint8_t*>(surface->pixels) + y * surface->pitch;
    reinterpret_cast<uint32_t*>(row)[x] = value;
}

} // namespace skyreel_test
