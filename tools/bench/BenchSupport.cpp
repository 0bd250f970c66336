#include "tools/bench/BenchSupport.h"

#include "bullets/Angle.h"
#include "bullets/BulletManage.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "platform/FrameLoop.h"
#include "platform/Input.h"
#include "tools/scene/HeavyScene.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

namespace bench
{
namespace
{

std::string& RootStorage()
{
    static std::string root = SKYREEL_SOURCE_DIR;
    return root;
}

// The program's start-up on the dummy drivers, from the data root.
RenderContext* Start(bool sound)
{
    std::error_code ignored;
    std::filesystem::current_path(DataRoot(), ignored);
    PlatformOptions options;
    options.dummyDrivers = true;
    options.sound = sound;
    return StartPlatform(options);
}

} // namespace

void SetDataRoot(const std::string& root)
{
    RootStorage() = root;
}

const std::string& DataRoot()
{
    return RootStorage();
}

Canvas::Canvas()
{
    context = Start(false);
    if (context == nullptr)
    {
        return;
    }
    LoadTextureRaw(context, 0, "data/texture1.png");
    sheet = GetTexture(context, 0);
    SDL_FillRect(context->screen, nullptr, 0xFF000040u);
}

Canvas::~Canvas()
{
    if (context != nullptr)
    {
        StopPlatform(context);
    }
}

SDL_Surface* Canvas::CutScreenOrder(int u, int v, int w, int h) const
{
    const SDL_PixelFormat* screen = context->screen->format;
    const uint32_t alphaMask = ~(screen->Rmask | screen->Gmask | screen->Bmask);
    SDL_Surface* cut = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, screen->Rmask, screen->Gmask,
                                            screen->Bmask, alphaMask);
    if (cut == nullptr)
    {
        return nullptr;
    }
    for (int y = 0; y < h; ++y)
    {
        for (int x = 0; x < w; ++x)
        {
            const auto* row = static_cast<const uint8_t*>(sheet->pixels) + (v + y) * sheet->pitch;
            const uint32_t texel = reinterpret_cast<const uint32_t*>(row)[u + x];
            Uint8 r, g, b, a;
            SDL_GetRGBA(texel, sheet->format, &r, &g, &b, &a);
            auto* out = static_cast<uint8_t*>(cut->pixels) + y * cut->pitch;
            reinterpret_cast<uint32_t*>(out)[x] = SDL_MapRGBA(cut->format, r, g, b, a);
        }
    }
    return cut;
}

Game::Game()
{
    context = Start(true);
    if (context != nullptr)
    {
        session = CreateGameSession(context);
    }
}

Game::~Game()
{
    DestroyGameSession(session);
    if (context != nullptr)
    {
        StopPlatform(context);
    }
}

void Game::Update()
{
    UpdateInput();
    RunGameSessionFrame(session);
}

void Game::Key(SDLKey key, bool down)
{
    PushKeyEvent(key, down);
}

GameDirector* Game::Director() const
{
    return session == nullptr ? nullptr : session->director;
}

bool Game::ReachPlay()
{
    GameDirector* director = Director();
    if (director == nullptr)
    {
        return false;
    }
    for (int update = 0; update < 5000; ++update)
    {
        if (director->scene == GameDirector::ScenePlay)
        {
            return true;
        }
        if (update % 20 == 0)
        {
            Key(SDLK_z, true);
        }
        else if (update % 20 == 1)
        {
            Key(SDLK_z, false);
        }
        Update();
    }
    return director->scene == GameDirector::ScenePlay;
}

void Game::FillBullets()
{
    GameDirector* director = Director();
    if (director != nullptr)
    {
        scene::FillHeavyBullets(*director->bullets, context, false);
    }
}

float SpreadAngleUnits(int64_t n)
{
    // Golden-ratio stepping: every prefix of the sequence is spread evenly.
    const double golden = 0.6180339887498949;
    const double turn =
        static_cast<double>(n) * golden - std::floor(static_cast<double>(n) * golden);
    return static_cast<float>(std::floor(turn * AngleUnitsPerTurn));
}

} // namespace bench
