// GameDirector: the game's top object. It owns every manager, runs the scenes
// (title, game start, play, game over), keeps the score, the high score, the
// stage and the graze count, and is the only object that reads the buttons
// and starts sounds and music (through the BasicSystem). One Frame per game
// update, about 62.5 per second; all timing below is counted in updates.
#pragma once

#include <cstdint>
#include <tuple>

class BasicSystem;
class PanelManage;
class MyShipManage;
class MyShotManage;
class ConvoyManage;
class BulletManage;
class BonusShipManage;
class BackGroundManage;
class TitleManage;

// Sound effects of the convoy's march, one per finished sweep, from the start
// again after the last. The director's `marchStep` indexes it and is never
// reset, so the tune runs on across stages and games.
inline constexpr int32_t MarchSoundCount = 22;
inline constexpr int32_t MARCH_SOUNDS[MarchSoundCount] = {1, 2, 3, 4, 3, 2, 1, 2, 3, 4, 3,
                                                          2, 1, 2, 3, 4, 3, 2, 5, 6, 5, 7};

class GameDirector
{
public:
    // Values of `scene`.
    static constexpr int32_t SceneTitleSetUp = 0;
    static constexpr int32_t SceneTitle = 1;
    static constexpr int32_t SceneGameStart = 2;
    static constexpr int32_t ScenePlay = 3;
    static constexpr int32_t SceneGameOver = 4;

    static constexpr int32_t GameOverFrames = 90;

    // Sound effect numbers of the sound list; the march beats are MARCH_SOUNDS.
    static constexpr int SeConfirm = 8;
    static constexpr int SeShot = 9;
    static constexpr int SeShipHit = 10;
    static constexpr int SeEnemyDestroyed = 11;
    static constexpr int SeBonusShipDestroyed = 12;
    static constexpr int SeGraze = 13;
    static constexpr int BgmBonusShip = 1;

    GameDirector() = default;
    // Destroys the eight managers in the order of their fields.
    virtual ~GameDirector();

    GameDirector(const GameDirector&) = delete;
    GameDirector& operator=(const GameDirector&) = delete;

    // The facade for buttons, sound and debug lines; set before Initialize.
    void SetSystem(BasicSystem* basicSystem);
    // Creates and wires the managers and prepares a first game. Called once.
    void Initialize();
    // Sets up a new game: ship, bonus ship, stage 1, score and grazes 0.
    void ResetGame();
    // Sets up the stage in `stage`: a fresh convoy, a new bonus-ship wait,
    // an empty bullet list.
    void StartStage();
    // One update of the scene machine; always true.
    bool Frame();
    // One update of play; false in the update in which a bullet hit the ship.
    bool PlayFrame();
    // One update of the frozen field after a hit; false when the scene ends.
    bool GameOverFrame();

    int32_t score = 0;
    int32_t hiScore = 0; // best final score since the program started
    int32_t stage = 0;   // 1 at the start of a game
    int32_t scene = 0;   // SceneTitleSetUp .. SceneGameOver
    int32_t grazeCount = 0;
    int32_t gameOverTimer = 0;     // updates left in the game-over scene
    BasicSystem* system = nullptr; // not owned
    PanelManage* panel = nullptr;  // the eight managers are owned
    MyShipManage* ship = nullptr;
    MyShotManage* shot = nullptr;
    ConvoyManage* convoy = nullptr;
    BulletManage* bullets = nullptr;
    BonusShipManage* bonusShip = nullptr;
    BackGroundManage* background = nullptr;
    TitleManage* title = nullptr;
    int32_t marchStep = 0;      // 0..21, index into MARCH_SOUNDS
    int32_t clock = 0;          // Frame calls since construction; seeds each game
    int32_t bonusShipTimer = 0; // play updates until the next bonus ship

    // Every field above, in declaration order (those of the base classes
    // not included): whatever walks the state field by field uses this
    // list, and the state hash checks the class's size against it.
    static constexpr auto Fields()
    {
        return std::tuple{
            &GameDirector::score,     &GameDirector::hiScore,    &GameDirector::stage,
            &GameDirector::scene,     &GameDirector::grazeCount, &GameDirector::gameOverTimer,
            &GameDirector::system,    &GameDirector::panel,      &GameDirector::ship,
            &GameDirector::shot,      &GameDirector::convoy,     &GameDirector::bullets,
            &GameDirector::bonusShip, &GameDirector::background, &GameDirector::title,
            &GameDirector::marchStep, &GameDirector::clock,      &GameDirector::bonusShipTimer};
    }

private:
    void PrintDebugNumber(const char* format, int32_t value);
    void UpdateBonusShip(bool shipHit);
};
