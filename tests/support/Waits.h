// Waits on the game or the platform: a test that drives something until a
// state comes counts the steps (updates, moves) it allows, a small multiple
// of what the state needs, and then fails naming that state. No wait ever
// ends by the test's time limit.
#pragma once

#include <gtest/gtest.h>
#include <string>

namespace skyreel_test
{

// Calls `step` until `reached` holds, at most `limit` times. Succeeds as soon
// as it holds (before any step too); else fails naming `what` and the steps
// taken. `steps`, when given, receives the steps taken either way.
template <typename Reached, typename Step>
::testing::AssertionResult StepUntil(const std::string& what, int limit, Reached reached, Step step,
                                     int* steps = nullptr)
{
    int taken = 0;
    bool holds = reached();
    while (!holds && taken < limit)
    {
        step();
        ++taken;
        holds = reached();
    }
    if (steps != nullptr)
    {
        *steps = taken;
    }
    if (holds)
    {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "gave up waiting for " << what << " after " << limit << " steps";
}

} // namespace skyreel_test
