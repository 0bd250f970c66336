// skyreel-scene: one fixed, heavy scene drawn by the real renderer from the
// real data, built for the desktop and for the browser alike, so that the two
// can be compared picture for picture and timed side by side. It lays both
// background layers at several angles, 800 bullets (turning ones among them),
// the status panel and the screen overlay, and prints per picture a hash of
// its colours (R, G, B per pixel, whatever the screen's channel order). Then
// it times the heavy frame: the background and bullet updates, laying every
// sprite, and presenting.
//
// Output lines: "scene K HASH" for each picture, "frame_us T" for the median
// frame time in microseconds. Options (desktop): --data-dir DIR, --frames N.
#include "bullets/BulletManage.h"
#include "objects/SpriteItem.h"
#include "platform/FrameLoop.h"
#include "platform/Render.h"
#include "platform/Screen.h"
#include "presentation/BackGroundManage.h"
#include "presentation/PanelManage.h"
#include "tools/scene/HeavyScene.h"

#include <SDL/SDL.h>
#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace
{

constexpr int OverlaySlot = 1;

// Background layer angles of the pictures compared, in AngleUnit (65536 per
// turn): still, a little, past a quarter, and almost a whole turn.
constexpr float LayerAngles[][2] = {
    {0.0f, 0.0f},         {1200.0f, 9000.0f},   {21000.0f, 17000.0f},
    {40000.0f, 33333.0f}, {65000.0f, 50000.0f}, {8192.0f, 64000.0f},
};

int ChannelShift(uint32_t mask)
{
    int shift = 0;
    while (shift < 32 && ((mask >> shift) & 1u) == 0)
    {
        ++shift;
    }
    return shift;
}

// FNV-1a over R, G, B of every pixel, row by row.
uint64_t HashScreen(const SDL_Surface* screen)
{
    const SDL_PixelFormat* f = screen->format;
    const int shifts[3] = {ChannelShift(f->Rmask), ChannelShift(f->Gmask), ChannelShift(f->Bmask)};
    uint64_t hash = 14695981039346656037ull;
    for (int y = 0; y < screen->h; ++y)
    {
        const auto* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(screen->pixels) + y * screen->pitch);
        for (int x = 0; x < screen->w; ++x)
        {
            for (const int shift : shifts)
            {
                hash ^= (row[x] >> shift) & 0xFFu;
                hash *= 1099511628211ull;
            }
        }
    }
    return hash;
}

struct Scene
{
    RenderContext* context = nullptr;
    BackGroundManage background;
    PanelManage panel;
    BulletManage bullets;
};

// Every sprite of the scene in painting order, the overlay last.
void LayScene(Scene& scene)
{
    ClearSpriteCommands(scene.context);
    scene.background.Draw();
    scene.bullets.Draw();
    scene.panel.Draw();
    QueueSprite(scene.context, GetTexture(scene.context, OverlaySlot), 0, 0, ScreenWidth,
                ScreenHeight, 0, 0);
}

// Presents an empty list: the screen is cleared as after any picture.
void ClearScreen(Scene& scene)
{
    ClearSpriteCommands(scene.context);
    PresentFrame(scene.context);
}

double MedianFrameMicroseconds(Scene& scene, int frames)
{
    constexpr int Rounds = 5;
    std::vector<double> rounds;
    for (int round = 0; round < Rounds; ++round)
    {
        const auto start = std::chrono::steady_clock::now();
        for (int frame = 0; frame < frames; ++frame)
        {
            scene.background.Update();
            scene.bullets.Update();
            scene.panel.Update();
            LayScene(scene);
            PresentFrame(scene.context);
        }
        const std::chrono::duration<double, std::micro> spent =
            std::chrono::steady_clock::now() - start;
        rounds.push_back(spent.count() / frames);
    }
    std::sort(rounds.begin(), rounds.end());
    return rounds[Rounds / 2];
}

} // namespace

int main(int argc, char** argv)
{
    int frames = 200;
    for (int i = 1; i + 1 < argc; i += 2)
    {
        if (std::strcmp(argv[i], "--data-dir") == 0 && chdir(argv[i + 1]) != 0)
        {
            std::fprintf(stderr, "skyreel-scene: no folder %s\n", argv[i + 1]);
            return 2;
        }
        if (std::strcmp(argv[i], "--frames") == 0)
        {
            frames = std::max(1, std::atoi(argv[i + 1]));
        }
    }
    // The program's start-up without sound: headless where the build says so
    // (the desktop's), on the page's canvas in the browser.
    PlatformOptions options;
    options.dummyDrivers = SKYREEL_SCENE_HEADLESS != 0;
    options.sound = false;
    Scene scene;
    scene.context = StartPlatformOrReport(options);
    if (scene.context == nullptr)
    {
        return 1;
    }
    if (scene.context->screen == nullptr)
    {
        std::puts("skyreel-scene: no screen");
        StopPlatform(scene.context);
        return 1;
    }
    LoadTextureRaw(scene.context, 0, "data/texture1.png");
    LoadTextureRaw(scene.context, OverlaySlot, "data/clip1.png");
    if (GetTexture(scene.context, 0) == nullptr ||
        GetTexture(scene.context, OverlaySlot) == nullptr)
    {
        std::puts("skyreel-scene: the pictures in data/ did not load");
        return 1;
    }
    scene.background.Initialize(scene.context);
    scene.background.Reset();
    scene.panel.Initialize(scene.context);
    scene.panel.SetScore(12345670);
    scene.panel.SetHiScore(98765430);
    scene.panel.SetGraze(4321);
    scene.panel.SetStage(17);
    scene.panel.Update();
    scene::FillHeavyBullets(scene.bullets, scene.context, true);

    ClearScreen(scene);
    int index = 0;
    for (const auto& angles : LayerAngles)
    {
        scene.background.layers[0]->angle = angles[0];
        scene.background.layers[1]->angle = angles[1];
        LayScene(scene);
        DrawSpriteCommands(scene.context);
        std::printf("scene %d %016" PRIx64 "\n", index++, HashScreen(scene.context->screen));
        ClearScreen(scene);
    }
    std::printf("bullets %d\n", scene.bullets.count);
    std::printf("frame_us %.1f\n", MedianFrameMicroseconds(scene, frames));
    std::fflush(stdout);
    StopPlatform(scene.context);
    return 0;
}
