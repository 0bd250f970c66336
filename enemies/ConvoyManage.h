// The enemy formation: 40 enemies in 4 rows of 10 that march sideways one
// enemy per frame, step down at each side, stand still for a while after a
// hit, and fire volleys from the lowest enemy of a random column.
//
// Enemy i is in row i / 10 and column i % 10; row 0 is the bottom row,
// column 0 the leftmost. Every walk over the enemies runs in index order.
#pragma once

#include "enemies/EnemyObject.h"

#include <cstdint>
#include <tuple>

class BulletMaker;
class MyShotManage;
struct RenderContext;

class ConvoyManage
{
public:
    static constexpr int Columns = 10;
    static constexpr int Rows = 4;
    static constexpr int EnemyCount = Columns * Rows;
    static constexpr int32_t HitPauseFrames = 15;

    // Values of `marchState`.
    static constexpr int32_t MarchRight = 0;
    static constexpr int32_t StepDownRight = 1;
    static constexpr int32_t MarchLeft = 2;
    static constexpr int32_t StepDownLeft = 3;

    ConvoyManage();
    virtual ~ConvoyManage();

    ConvoyManage(const ConvoyManage&) = delete;
    ConvoyManage& operator=(const ConvoyManage&) = delete;

    // Takes ownership of the maker that fires the volleys and debris bursts.
    void SetBulletMaker(BulletMaker* maker);
    void SetRenderContext(RenderContext* context);
    // A fresh formation for `stageNumber` (1 upwards).
    void StartStage(int stageNumber);
    // What one frame of the march did.
    enum class Marched
    {
        StoodStill, // the standstill after a hit (at its end the struck enemy is gone)
        Stepped,    // one enemy stepped
        EndedSweep, // no enemy left to step: the sweep ended, the formation may turn
    };

    // One frame: step, fire, draw the enemies. True when a sweep ended in
    // this frame (the director plays a march beat).
    bool Update();
    // The march part of Update on its own: it changes the enemies' places,
    // pictures and flags and the march fields, nothing else. The autoplayer
    // runs it, and HitByShot, on a copy without a bullet maker to forecast
    // the march.
    Marched March();
    // Tests the shot against the live enemies; the score of the enemy struck,
    // 0 if none.
    int HitByShot(MyShotManage& shot);
    // Enemies whose `active` is set, exploding ones included (0..40).
    int CountAlive() const;
    // True once an active enemy's centre is below the field (y > 480): the
    // convoy has landed and the game is lost as if the ship were hit.
    bool HasLanded() const;

    EnemyObject enemies[EnemyCount];
    BulletMaker* bulletMaker; // owned; null until SetBulletMaker
    RenderContext* renderContext;
    int32_t stage;
    int32_t marchState;  // MarchRight, StepDownRight, MarchLeft, StepDownLeft
    int32_t nextIndex;   // next enemy to step, 0..40; 40 = the sweep is over
    int32_t animFrame;   // 0 or 1, given to each enemy as it steps
    int32_t pauseFrames; // standstill frames left after a hit; 0 = marching
    int32_t fireClock;   // frames marched since the stage began

    // Every field above, in declaration order (those of the base classes
    // not included): whatever walks the state field by field uses this
    // list, and the state hash checks the class's size against it.
    static constexpr auto Fields()
    {
        return std::tuple{
            &ConvoyManage::enemies,   &ConvoyManage::bulletMaker, &ConvoyManage::renderContext,
            &ConvoyManage::stage,     &ConvoyManage::marchState,  &ConvoyManage::nextIndex,
            &ConvoyManage::animFrame, &ConvoyManage::pauseFrames, &ConvoyManage::fireClock};
    }

private:
    void LayOut();
    void FireVolley();
    void DrawEnemies();
    // Ends a sweep: flips the animation frame and turns at the field's sides.
    void EndSweep();
    // Lowest active enemy of a column, or null when the column is empty.
    EnemyObject* LowestInColumn(int column);
};
