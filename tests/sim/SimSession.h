// The game harness for the simulator's tests, driven the way skyreel-sim
// drives it: key changes of a replay pushed as SDL events, then one update.
#pragma once

#include "Replay.h"
#include "tests/support/GameHarness.h"

#include <vector>

class SimSession : public skyreel_test::GameHarness
{
protected:
    // One update with these changes pushed first; returns its number.
    int32_t Update(const std::vector<sim::KeyChange>& changes = {})
    {
        ++update;
        for (const sim::KeyChange& change : changes)
        {
            PushKey(sim::KeySym(change.key), change.down);
        }
        GameHarness::Update();
        return update;
    }

    // Through the title with one press of Z once it waits; returns with the
    // play scene about to run its first frame.
    void PlayFromTitle()
    {
        while (director->scene != GameDirector::ScenePlay)
        {
            ASSERT_LT(update, 2000) << "the title never let the game start";
            const bool waits = director->scene == GameDirector::SceneTitle &&
                               director->title->state == TitleManage::StateWait;
            Update(waits ? std::vector<sim::KeyChange>{{update + 1, sim::Key::Z, true}}
                         : std::vector<sim::KeyChange>{{update + 1, sim::Key::Z, false}});
        }
    }

    int32_t update = 0;
};
