// The autoplayer: plays the game through the keyboard, like a person would.
// It reads the public game state through the director (read only) and answers
// with key changes: it holds left or right, taps the fire key (released in
// between, since only a new press fires), and confirms on the title screen.
//
// In play it looks ahead: it carries every enemy bullet forward by the same
// motion rule the game uses and picks, among a few movement plans, the one
// that keeps the ship clear (passing close enough to graze when it can), while
// heading for the spot under the enemy its next shot should strike. It fires
// only when its model of the convoy's march says the shot would strike an
// enemy or the bonus ship.
#pragma once

#include "Replay.h"

#include <cstdint>
#include <vector>

class GameDirector;

namespace sim
{

class Autoplayer
{
public:
    // `confirmAt`: the first title is confirmed on the first update at or
    // after it once the title waits for the button; 0 lets the seed choose.
    // Every later title waits a time drawn from the bot's own generator
    // (never the game's), seeded with `seed`.
    //
    // A `mortal` bot (the soak's) ends its games on purpose, so that many
    // games with many seeds follow one another: each game it draws a span of
    // 2,000 to 32,000 play updates after which it steers into the bullets,
    // and in some games it stops firing for 3,000 updates once few enemies
    // are left, so the strongest patterns pile up on the field meanwhile.
    Autoplayer(uint32_t seed, int32_t confirmAt, bool mortal = false);

    // The key changes to push before update `update`, decided from the state
    // the previous update left. Appends to *changes.
    void Decide(const GameDirector& director, int32_t update, std::vector<KeyChange>* changes);

    int32_t FirstConfirmAt() const { return firstConfirmAt; }

    // Look-ahead, in updates, of the dodging plans.
    static constexpr int Horizon = 40;
    // Longest wait before a shot that the aiming considers.
    static constexpr int MaxFireDelay = 100;
    // Frames a shot needs at most to leave the field.
    static constexpr int MaxShotFrames = 64;
    static constexpr int ConvoyFrames = MaxFireDelay + MaxShotFrames;

private:
    struct Threat
    {
        float x, y;
        float reach;      // hit radius + the ship's 1.0
        float grazeReach; // graze radius + the ship's 4.0; 0 when it cannot graze
        int32_t id;
    };

    // The convoy, the shot in flight and the bonus ship carried forward.
    struct Forecast
    {
        float x[ConvoyFrames + 1][40];
        float y[ConvoyFrames + 1][40];
        bool hittable[ConvoyFrames + 1][40];
        float bonusX[ConvoyFrames + 1];
        float bonusY[ConvoyFrames + 1];
        bool bonusHittable[ConvoyFrames + 1];
        int32_t shotReady; // first frame (1 = the coming update) a new shot can leave
    };

    uint32_t NextRandom();
    void Press(Key key, bool down, bool* held, int32_t update, std::vector<KeyChange>* changes);
    void ReleaseAll(int32_t update, std::vector<KeyChange>* changes);

    void Title(const GameDirector& director, int32_t update, std::vector<KeyChange>* changes);
    void Play(const GameDirector& director, int32_t update, std::vector<KeyChange>* changes);

    void ForecastConvoy(const GameDirector& director);
    void CollectThreats(const GameDirector& director);
    float ChooseGoal(float shipX) const;
    // -1 left, 0 stand, 1 right. `seek` turns the dodging round: the plan hit
    // soonest wins.
    int ChooseMove(float shipX, float goalX, bool seek);
    // The first frame at which a shot fired from x in frame 1 strikes
    // something, or 0 when it strikes nothing.
    int ShotStrikes(float x) const;
    // Moves a new shot needs to come level with y (MaxShotFrames + 1: never).
    int ShotFramesTo(float y) const;

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

    std::vector<Forecast> forecast; // one, kept on the heap
    std::vector<Threat> threats[Horizon + 1];
    std::vector<int32_t> grazeStamp;
    int32_t stamp = 0;
    float shotY[MaxShotFrames + 1]; // y of a new shot after k moves
    int32_t shotFramesTo[481];      // moves a new shot needs to reach a row (whole field units)
};

} // namespace sim
