// The whole game, start-up to shut-down, run in a folder whose data/ is
// damaged the ways players damage theirs: copied without some files, files
// emptied or cut short, pictures saved in other formats or sizes, the sound
// list edited by hand, sound files replaced by junk. Each case drives the real
// frame loop (on a fake clock) for more than 2,000 updates of scripted keys:
// Z on the title, left and right, fire, and through at least one game over.
// The game must never crash or trip a sanitizer, must keep playing, and must
// show and play what it could load and nothing of what it could not.
#include "enemies/BonusShipManage.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "platform/DebugConsole.h"
#include "platform/FrameLoop.h"
#include "platform/Input.h"
#include "platform/Render.h"
#include "platform/Screen.h"
#include "platform/Sound.h"
#include "tests/support/Files.h"
#include "tests/support/Sdl.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

using namespace skyreel_test;
namespace fs = std::filesystem;

namespace
{

constexpr int ScriptedUpdates = 2400;        // then Q
constexpr int QuitWithin = 60;               // updates the game may take to quit after Q
constexpr uint32_t ClearPixel = 0xFF000040u; // what PresentFrame leaves on the screen
constexpr int SampleEvery = 50;              // presents between screen checks
constexpr int32_t BonusShipWait = 150;       // play updates

const char* const EffectFiles[] = {
    "se_beat1.wav",       "se_beat2.wav",       "se_beat3.wav",   "se_beat4.wav", "se_beat5.wav",
    "se_beat6.wav",       "se_beat7.wav",       "se_confirm.wav", "se_shot.wav",  "se_ship_hit.wav",
    "se_enemy_burst.wav", "se_bonus_burst.wav", "se_graze.wav",
};
constexpr const char* MusicFile = "bgm_bonus.wav";

std::string Slurp(const std::string& path)
{
    std::string bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
    {
        return bytes;
    }
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    {
        bytes.append(buffer, n);
    }
    std::fclose(file);
    return bytes;
}

// Bytes that look like nothing in particular, the same on every run.
std::string Garbage(size_t size, uint32_t seed)
{
    std::string bytes(size, '\0');
    uint32_t state = seed;
    for (char& c : bytes)
    {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    return bytes;
}

std::string SoundList(const std::string& musicName, const std::vector<std::string>& effectNames)
{
    std::string list = "# sound list\nM001 " + musicName + "\n";
    char line[64];
    for (size_t i = 0; i < effectNames.size(); ++i)
    {
        std::snprintf(line, sizeof line, "S%03zu ", i + 1);
        list += line + effectNames[i] + "\n";
    }
    return list;
}

// data/ in `dir`: a copy of the game's own data/, or, where a file of it is
// not there (a fresh checkout before `make data`), a stand-in of the same
// kind: a 512 x 512 sheet, a screen-sized overlay, short WAV files, the list.
void MakeGameData(const std::string& dir)
{
    const fs::path source = fs::path(SKYREEL_SOURCE_DIR) / "data";
    const fs::path data = fs::path(dir) / "data";
    fs::create_directories(data);
    auto copyOr = [&](const char* name, const std::function<void(const std::string&)>& make)
    {
        std::error_code error;
        fs::copy_file(source / name, data / name, fs::copy_options::overwrite_existing, error);
        if (error)
        {
            make((data / name).string());
        }
    };
    copyOr("texture1.png",
           [](const std::string& path) { WriteRgbaPng(path, MakePattern(512, 512)); });
    copyOr("clip1.png", [](const std::string& path)
           { WriteRgbaPng(path, MakePattern(ScreenWidth, ScreenHeight)); });
    std::vector<std::string> effects;
    for (const char* name : EffectFiles)
    {
        copyOr(name, [](const std::string& path) { WriteWav(path, 100); });
        effects.push_back(std::string("data/") + name);
    }
    copyOr(MusicFile, [](const std::string& path) { WriteWav(path, 500); });
    copyOr("ascii.bmp",
           [](const std::string& path) { WriteSolidPicture(path, 128, 128, 9, 9, 9); });
    copyOr("sounddat.lst", [&](const std::string& path)
           { WriteText(path, SoundList(std::string("data/") + MusicFile, effects)); });
}

std::string DataFile(const std::string& dir, const std::string& name)
{
    return (fs::path(dir) / "data" / name).string();
}

void ReplaceFile(const std::string& dir, const std::string& name, const std::string& bytes)
{
    ASSERT_TRUE(WriteText(DataFile(dir, name), bytes)) << name;
}

void Truncate(const std::string& dir, const std::string& name, size_t size)
{
    ReplaceFile(dir, name, Slurp(DataFile(dir, name)).substr(0, size));
}

RgbaPicture GameSheet(const std::string& dir)
{
    RgbaPicture sheet = ReadPng(DataFile(dir, "texture1.png"));
    return sheet.width > 0 ? sheet : MakePattern(512, 512);
}

// What a run saw.
struct Outcome
{
    int updates = 0;
    int presents = 0;
    bool quitMissed = false; // still running QuitWithin updates after Q: stopped by the test
    bool sawPlay = false;
    int gamesOver = 0;
    bool titleAfterGameOver = false;
    bool bonusShipFlew = false;
    bool effectsHeard = false;
    bool musicHeard = false;
    int sampledPictures = 0;
    int picturesWithSprites = 0; // sampled pictures with any pixel drawn
};

// The keys pressed and released before update `u`: Z tapped every 23
// updates (confirms the title, fires in play), and in turns of 90 updates
// left held, right held, then two turns still, so that aimed bullets find the
// ship and games end. Q after the last scripted update.
void PushScriptedKeys(int u)
{
    if (u == ScriptedUpdates)
    {
        PushKeyEvent(SDLK_q, true);
        return;
    }
    if (u % 23 == 0)
    {
        PushKeyEvent(SDLK_z, true);
    }
    else if (u % 23 == 2)
    {
        PushKeyEvent(SDLK_z, false);
    }
    if (u % 90 == 0)
    {
        PushKeyEvent(SDLK_LEFT, false);
        PushKeyEvent(SDLK_RIGHT, false);
        const int turn = (u / 90) % 4;
        if (turn == 0)
        {
            PushKeyEvent(SDLK_LEFT, true);
        }
        else if (turn == 1)
        {
            PushKeyEvent(SDLK_RIGHT, true);
        }
    }
}

// The game on the frame loop, with the clock faked so that the 16 ms pacing
// costs no time: every update is scripted, every seventh present takes 40 ms
// so that the next batch runs extra updates, as on a slow machine.
class ScriptedGame
{
public:
    ScriptedGame(RenderContext* context, GameSession* session)
        : context_(context), session_(session)
    {
    }

    Outcome Run()
    {
        const FrameLoopHooks hooks = {this,         GetTicks, Delay,  UpdateInputHook,
                                      RunFrameHook, IsQuit,   Present};
        RunFrameLoop(hooks, now_);
        return outcome_;
    }

private:
    static ScriptedGame& Self(void* user) { return *static_cast<ScriptedGame*>(user); }
    static uint32_t GetTicks(void* user) { return Self(user).now_; }
    static void Delay(void* user, uint32_t ms) { Self(user).now_ += ms; }
    static int IsQuit(void* user)
    {
        ScriptedGame& self = Self(user);
        if (IsQuitRequested() != 0)
        {
            return 1;
        }
        self.outcome_.quitMissed = self.outcome_.updates > ScriptedUpdates + QuitWithin;
        return self.outcome_.quitMissed ? 1 : 0;
    }

    static void UpdateInputHook(void* user)
    {
        PushScriptedKeys(Self(user).outcome_.updates);
        UpdateInput();
    }

    static bool RunFrameHook(void* user)
    {
        ScriptedGame& self = Self(user);
        GameDirector* director = self.session_->director;
        const int32_t sceneBefore = director->scene;
        const bool goOn = RunGameSessionFrame(self.session_);
        ++self.outcome_.updates;
        if (sceneBefore == GameDirector::SceneGameStart)
        {
            // The bonus ship first comes 1200 to 2400 play updates into a
            // game; every game of the run has it come after 150, so that its
            // tune starts (or a damaged one is met) within the run.
            director->bonusShipTimer = BonusShipWait;
        }
        if (director->scene == GameDirector::ScenePlay)
        {
            self.outcome_.sawPlay = true;
        }
        if (director->scene == GameDirector::SceneGameOver &&
            sceneBefore != GameDirector::SceneGameOver)
        {
            ++self.outcome_.gamesOver;
        }
        // The dummy audio device takes a started sound at once.
        self.outcome_.effectsHeard = self.outcome_.effectsHeard || Mix_Playing(-1) > 0;
        self.outcome_.musicHeard = self.outcome_.musicHeard || Mix_PlayingMusic() != 0;
        if (director->bonusShip->IsFlying())
        {
            self.outcome_.bonusShipFlew = true;
        }
        if (self.outcome_.gamesOver > 0 && director->scene == GameDirector::SceneTitle)
        {
            self.outcome_.titleAfterGameOver = true;
        }
        return goOn;
    }

    static void Present(void* user)
    {
        ScriptedGame& self = Self(user);
        // From the second present on, the screen starts out cleared; now and
        // then the picture is drawn once more beforehand and looked at.
        if (self.outcome_.presents > 0 && self.outcome_.presents % SampleEvery == 0)
        {
            DrawSpriteCommands(self.context_);
            ++self.outcome_.sampledPictures;
            if (AnyPixelDrawn(self.context_->screen))
            {
                ++self.outcome_.picturesWithSprites;
            }
        }
        PresentFrame(self.context_);
        ++self.outcome_.presents;
        if (self.outcome_.presents % 7 == 0)
        {
            self.now_ += 40;
        }
    }

    static bool AnyPixelDrawn(SDL_Surface* screen)
    {
        for (int y = 0; y < ScreenHeight; ++y)
        {
            for (int x = 0; x < ScreenWidth; ++x)
            {
                if (GetPixel32(screen, x, y) != ClearPixel)
                {
                    return true;
                }
            }
        }
        return false;
    }

    RenderContext* context_;
    GameSession* session_;
    uint32_t now_ = 1000;
    Outcome outcome_;
};

SDL_Surface* Slot(RenderContext* context, int slot)
{
    return GetTexture(context, slot);
}

int LoadedEffects()
{
    int loaded = 0;
    for (Mix_Chunk* effect : gSoundTable.effects)
    {
        loaded += effect != nullptr ? 1 : 0;
    }
    return loaded;
}

enum class Pictures
{
    Shown, // the sheet or the overlay loaded: sprites reach the screen
    Blank, // neither loaded: every picture is the cleared screen
};

// What of the sound is heard during the run.
enum class Sounds
{
    All,         // effects and the bonus ship's tune
    EffectsOnly, // some effects, never the tune
    None,
};

struct DamageCase
{
    const char* name;
    std::function<void(const std::string& dir)> damage;
    // Checked right after the session is made: what loaded and what did not.
    std::function<void(RenderContext* context)> checkLoaded;
    Pictures pictures;
    Sounds sounds;
};

void ExpectIntactSound()
{
    EXPECT_EQ(gSoundTable.enabled, 1);
    EXPECT_EQ(LoadedEffects(), 13);
    EXPECT_STRNE(gSoundTable.musicNames[1], "");
}

std::vector<DamageCase> Cases()
{
    return {
        {"IntactData", [](const std::string&) {},
         [](RenderContext* context)
         {
             ASSERT_NE(Slot(context, 0), nullptr);
             EXPECT_EQ(Slot(context, 0)->w, 512);
             ASSERT_NE(Slot(context, 1), nullptr);
             EXPECT_EQ(Slot(context, 1)->w, ScreenWidth);
             ExpectIntactSound();
         },
         Pictures::Shown, Sounds::All},

        {"NoDataFolder", [](const std::string& dir) { fs::remove_all(fs::path(dir) / "data"); },
         [](RenderContext* context)
         {
             EXPECT_EQ(Slot(context, 0), nullptr);
             EXPECT_EQ(Slot(context, 1), nullptr);
             EXPECT_EQ(gSoundTable.enabled, 0);
         },
         Pictures::Blank, Sounds::None},

        {"DataIsAFile",
         [](const std::string& dir)
         {
             fs::remove_all(fs::path(dir) / "data");
             WriteText((fs::path(dir) / "data").string(), "not a folder\n");
         },
         [](RenderContext* context)
         {
             EXPECT_EQ(Slot(context, 0), nullptr);
             EXPECT_EQ(Slot(context, 1), nullptr);
             EXPECT_EQ(gSoundTable.enabled, 0);
         },
         Pictures::Blank, Sounds::None},

        {"FilesAreFolders",
         [](const std::string& dir)
         {
             for (const char* name : {"texture1.png", "clip1.png", "sounddat.lst"})
             {
                 fs::remove(DataFile(dir, name));
                 fs::create_directory(DataFile(dir, name));
             }
         },
         [](RenderContext* context)
         {
             EXPECT_EQ(Slot(context, 0), nullptr);
             EXPECT_EQ(Slot(context, 1), nullptr);
             EXPECT_EQ(LoadedEffects(), 0);
         },
         Pictures::Blank, Sounds::None},

        {"EmptyFiles",
         [](const std::string& dir)
         {
             for (const auto& entry : fs::directory_iterator(fs::path(dir) / "data"))
             {
                 fs::resize_file(entry.path(), 0);
             }
         },
         [](RenderContext* context)
         {
             EXPECT_EQ(Slot(context, 0), nullptr);
             EXPECT_EQ(Slot(context, 1), nullptr);
             EXPECT_EQ(gSoundTable.enabled, 1); // an empty list is a list
             EXPECT_EQ(LoadedEffects(), 0);
         },
         Pictures::Blank, Sounds::None},

        {"TruncatedPngs",
         [](const std::string& dir)
         {
             Truncate(dir, "texture1.png", Slurp(DataFile(dir, "texture1.png")).size() / 2);
             Truncate(dir, "clip1.png", 100); // inside the first image data
         },
         [](RenderContext* context)
         {
             EXPECT_EQ(Slot(context, 0), nullptr);
             EXPECT_EQ(Slot(context, 1), nullptr);
             ExpectIntactSound();
         },
         Pictures::Blank, Sounds::All},

        {"SheetSmallerThan512",
         [](const std::string& dir)
         { WriteRgbaPng(DataFile(dir, "texture1.png"), Crop(GameSheet(dir), 96, 64)); },
         [](RenderContext* context)
         {
             ASSERT_NE(Slot(context, 0), nullptr);
             EXPECT_EQ(Slot(context, 0)->w, 96);
             EXPECT_EQ(Slot(context, 0)->h, 64);
         },
         Pictures::Shown, Sounds::All},

        {"PalettedSheet",
         [](const std::string& dir)
         { WritePalettedPng(DataFile(dir, "texture1.png"), GameSheet(dir)); },
         [](RenderContext* context)
         {
             ASSERT_NE(Slot(context, 0), nullptr);
             EXPECT_EQ(Slot(context, 0)->format->BitsPerPixel, 8);
         },
         Pictures::Shown, Sounds::All},

        {"RgbSheet",
         [](const std::string& dir) { WriteRgbPng(DataFile(dir, "texture1.png"), GameSheet(dir)); },
         [](RenderContext* context)
         {
             ASSERT_NE(Slot(context, 0), nullptr);
             EXPECT_EQ(Slot(context, 0)->format->BitsPerPixel, 24);
         },
         Pictures::Shown, Sounds::All},

        {"OverlaySmallerThanTheScreen",
         [](const std::string& dir)
         { WriteRgbaPng(DataFile(dir, "clip1.png"), MakePattern(100, 60)); },
         [](RenderContext* context)
         {
             ASSERT_NE(Slot(context, 1), nullptr);
             EXPECT_EQ(Slot(context, 1)->w, 100);
         },
         Pictures::Shown, Sounds::All},

        {"OverlayLargerThanTheScreen",
         [](const std::string& dir)
         { WritePalettedPng(DataFile(dir, "clip1.png"), MakePattern(1000, 600)); },
         [](RenderContext* context)
         {
             ASSERT_NE(Slot(context, 1), nullptr);
             EXPECT_EQ(Slot(context, 1)->w, 1000);
         },
         Pictures::Shown, Sounds::All},

        {"GarbageSoundList",
         [](const std::string& dir)
         {
             // Junk with line ends, NULs, kind letters and digits in it, and
             // lines far longer than the reader's buffer.
             std::string list = Garbage(3000, 7);
             for (size_t i = 0; i < list.size(); i += 37)
             {
                 list[i] = "\nMS0\r"[i % 5];
             }
             list += "S001" + std::string(600, 'x') + "\nM\n#\nS99\n";
             ReplaceFile(dir, "sounddat.lst", list);
         },
         [](RenderContext*)
         {
             EXPECT_EQ(gSoundTable.enabled, 1);
             EXPECT_EQ(LoadedEffects(), 0);
         },
         Pictures::Shown, Sounds::None},

        {"ListNamingMissingFiles",
         [](const std::string& dir)
         {
             // Odd effects and the music are named but not there; the even
             // effects are the game's own.
             std::vector<std::string> names;
             for (int n = 1; n <= 13; ++n)
             {
                 names.push_back(n % 2 == 1 ? "data/missing" + std::to_string(n) + ".wav"
                                            : std::string("data/") + EffectFiles[n - 1]);
             }
             ReplaceFile(dir, "sounddat.lst", SoundList("data/missing_music.wav", names));
             fs::remove(DataFile(dir, MusicFile));
         },
         [](RenderContext*)
         {
             EXPECT_EQ(gSoundTable.enabled, 1);
             for (int n = 1; n <= 13; ++n)
             {
                 EXPECT_EQ(gSoundTable.effects[n] != nullptr, n % 2 == 0) << "effect " << n;
             }
         },
         Pictures::Shown, Sounds::EffectsOnly},

        {"GarbageWavs",
         [](const std::string& dir)
         {
             // Junk, a RIFF header over junk, a header cut short, a format
             // without channels: every effect and the music.
             uint32_t seed = 1;
             for (const char* name : EffectFiles)
             {
                 std::string bytes = Garbage(2000, seed);
                 switch (seed % 4)
                 {
                 case 1:
                     bytes = "RIFF" + bytes.substr(0, 4) + "WAVEfmt " + bytes;
                     break;
                 case 2:
                     bytes = Slurp(DataFile(dir, name)).substr(0, 30);
                     break;
                 case 3:
                     bytes = Slurp(DataFile(dir, name));
                     if (bytes.size() > 24)
                     {
                         bytes[22] = 0; // channels
                         bytes[23] = 0;
                     }
                     break;
                 default:
                     break;
                 }
                 ReplaceFile(dir, name, bytes);
                 ++seed;
             }
             Truncate(dir, MusicFile, 36); // the format chunk and no data chunk
         },
         [](RenderContext*)
         {
             EXPECT_EQ(gSoundTable.enabled, 1);
             EXPECT_EQ(LoadedEffects(), 0);
         },
         Pictures::Shown, Sounds::None},
    };
}

void PrintTo(const DamageCase& damage, std::ostream* out)
{
    *out << damage.name;
}

class DamagedData : public ::testing::TestWithParam<DamageCase>
{
};

TEST_P(DamagedData, GamePlaysThroughWithWhatItCouldLoad)
{
    const DamageCase& damage = GetParam();
    TempDir dir;
    ASSERT_FALSE(dir.path().empty());
    MakeGameData(dir.path());
    damage.damage(dir.path());
    ScopedChdir here(dir.path());

    // As the program starts, with the session on the real frame loop.
    ASSERT_EQ(SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK), 0);
    InitInput();
    InitSound();
    RenderContext* context = CreateRenderContext(ScreenWidth, ScreenHeight, 32);
    ASSERT_NE(context, nullptr);
    SetWindowCaption(context, "Skyreel");
    std::srand(1);
    GameSession* session = CreateGameSession(context);
    ASSERT_NE(session, nullptr);
    ASSERT_NE(session->director, nullptr);
    damage.checkLoaded(context);

    // The debug console reads data/ too, though the game never shows it.
    InitDebugConsole(context, ScreenWidth, ScreenHeight, 32);
    DebugPrint("Clock: 1");
    FlushDebugConsole(context);
    FreeDebugConsole();

    const Outcome outcome = ScriptedGame(context, session).Run();

    DestroyGameSession(session);
    DestroyRenderContext(context);
    ShutdownSound();
    // A list that could not be read leaves the device open.
    while (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0)
    {
        Mix_CloseAudio();
    }
    CloseInput();
    SDL_Quit();

    EXPECT_FALSE(outcome.quitMissed)
        << "gave up waiting for the game to quit: Q pressed before update " << ScriptedUpdates
        << ", still running at update " << outcome.updates;
    EXPECT_GT(outcome.updates, ScriptedUpdates);
    EXPECT_GT(outcome.presents, ScriptedUpdates / 2); // batches of 1 to 3 updates
    EXPECT_TRUE(outcome.sawPlay);
    EXPECT_GE(outcome.gamesOver, 1);
    EXPECT_TRUE(outcome.titleAfterGameOver);
    EXPECT_TRUE(outcome.bonusShipFlew);
    EXPECT_EQ(outcome.effectsHeard, damage.sounds != Sounds::None);
    EXPECT_EQ(outcome.musicHeard, damage.sounds == Sounds::All);
    ASSERT_GT(outcome.sampledPictures, 0);
    if (damage.pictures == Pictures::Shown)
    {
        EXPECT_EQ(outcome.picturesWithSprites, outcome.sampledPictures);
    }
    else
    {
        EXPECT_EQ(outcome.picturesWithSprites, 0) << "a picture showed something not loaded";
    }
}

INSTANTIATE_TEST_SUITE_P(Folder, DamagedData, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<DamageCase>& info)
                         { return std::string(info.param.name); });

} // namespace
