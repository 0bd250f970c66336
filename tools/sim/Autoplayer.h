// The autoplayer: plays the game through the keyboard, like a person would.
// It reads the public game state through the director (read only) and answers
// with key changes: it holds left or right, taps the fire key (released in
// between, since only a new press fires), and confirms on the title screen.
//
// In play it looks ahead (Forecast.h): it carries every enemy bullet forward
// by the game's own motion rule and picks, among a few movement plans, the one
// that keeps the ship clear (passing close enough to graze when it can), while
// heading for the spot under the enemy its next shot should strike. It fires
// only when the forecast of the convoy's march says the shot would strike an
// enemy or the bonus ship.
#pragma once

#include "Forecast.h"
#include "Replay.h"

#include <cstdint>
#include <memory>
#include <vector>

class GameDirector;

namespace sim
{

class Autoplayer
{
public:
    // `confirmFirstAt`: the first title is confirmed on the first update at or
    // after it once the title waits for the button; 0 lets the seed choose.
    // Every later title waits a time drawn from the bot's own generator
    // (never the game's), seeded with `seed`.
    //
    // A `mortalBot` (the soak's) ends its games on purpose, so that many
    // games with many seeds follow one another: each game it draws a span of
    // 2,000 to 32,000 play updates after which it steers into the bullets,
    // and in some games it stops firing for 3,000 updates once few enemies
    // are left, so the strongest patterns pile up on the field meanwhile.
    Autoplayer(uint32_t seed, int32_t confirmFirstAt, bool mortalBot = false);

    // The key changes to push before update `update`, decided from the state
    // the previous update left. Appends to *changes.
    void Decide(const GameDirector& director, int32_t update, std::vector<KeyChange>* changes);

    int32_t FirstConfirmAt() const { return firstConfirmAt; }

    // Look-ahead, in updates, of the dodging plans.
    static constexpr int Horizon = 40;
    static constexpr int MaxShotFrames = ShotPath::MaxFrames;
    static constexpr int ConvoyFrames = PlayForecast::Frames;
    // Longest wait before a shot that the aiming considers.
    static constexpr int MaxFireDelay = ConvoyFrames - MaxShotFrames;

private:
    struct Threat
    {
        float x, y;
        float reach;      // hit radius + the ship's 1.0
        float grazeReach; // graze radius + the ship's 4.0; 0 when it cannot graze
        int32_t id;
    };

    uint32_t NextRandom();
    void Press(Key key, bool down, bool* held, int32_t update, std::vector<KeyChange>* changes);
    void ReleaseAll(int32_t update, std::vector<KeyChange>* changes);

    void Title(const GameDirector& director, int32_t update, std::vector<KeyChange>* changes);
    void Play(const GameDirector& director, int32_t update, std::vector<KeyChange>* changes);

    void CollectThreats(const GameDirector& director);
    float ChooseGoal(float shipX) const;
    // -1 left, 0 stand, 1 right. `seek` turns the dodging round: the plan hit
    // soonest wins.
    int ChooseMove(float shipX, float goalX, bool seek);
    // The first frame at which a shot fired from x in frame 1 strikes
    // something, or 0 when it strikes nothing.
    int ShotStrikes(float x) const;

    uint32_t rng;
    int32_t firstConfirmAt;
    bool mortal;
    int32_t playUpdates = 0;   // play updates of the current game so far
    int32_t lifespan = 0;      // mortal: play updates before it seeks the bullets
    int32_t holdFireBelow = 0; // mortal: no firing with this many enemies or fewer ...
    int32_t holdFireFrom = 0;  // ... from this play update on, for a while; 0 = not yet
    int32_t confirmAt = 0;
    bool firstTitle = true;
    bool confirmed = false;
    int32_t lastScene = -1;

    bool left = false;
    bool right = false;
    bool fire = false;

    ShotPath shotPath;
    std::unique_ptr<PlayForecast> forecast; // large: kept on the heap
    std::vector<Threat> threats[Horizon + 1];
    std::vector<int32_t> grazeStamp;
    int32_t stamp = 0;
};

} // namespace sim
