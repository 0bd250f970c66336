// Frame loop pacing on a fake millisecond clock: updates, pictures and sleeps
// are logged as "U", "P" and "D<ms>", and each costs the time set here.
#include "platform/FrameLoop.h"

#include "tests/support/Sdl.h"

#include <map>
#include <string>

namespace
{

struct FakeMachine
{
    FakeMachine() = default;
    // Each update costs `update` ms and each picture `present` ms; the
    // update numbered `quitOn` sees a quit.
    FakeMachine(uint32_t update, uint32_t present, int quitOn)
        : updateCost(update), presentCost(present), quitOnUpdate(quitOn)
    {
    }

    uint32_t now = 1000;
    uint32_t updateCost = 1;
    uint32_t presentCost = 1;
    int quitOnUpdate = 0;                 // the update whose input drain sees a quit (1-based)
    int falseFromUpdate = 1 << 30;        // the session answers false from this update on
    std::map<int, int32_t> jumpAtPresent; // present number -> clock step after it
    std::map<int, int32_t> jumpAtUpdate;

    int updates = 0;
    int presents = 0;
    bool quit = false;
    std::string log;

    void Note(const std::string& entry) { log += log.empty() ? entry : " " + entry; }

    static FakeMachine& Of(void* user) { return *static_cast<FakeMachine*>(user); }
    static uint32_t Ticks(void* user) { return Of(user).now; }
    static void Delay(void* user, uint32_t ms)
    {
        Of(user).Note("D" + std::to_string(ms));
        Of(user).now += ms;
    }
    static void UpdateInput(void* user)
    {
        FakeMachine& m = Of(user);
        ++m.updates;
        m.quit = m.updates == m.quitOnUpdate || m.presents > 200; // the second stops a runaway
    }
    static bool RunFrame(void* user)
    {
        FakeMachine& m = Of(user);
        m.Note("U");
        m.now += m.updateCost + static_cast<uint32_t>(m.jumpAtUpdate[m.updates]);
        return m.updates < m.falseFromUpdate;
    }
    static int QuitRequested(void* user) { return Of(user).quit ? 1 : 0; }
    static void Present(void* user)
    {
        FakeMachine& m = Of(user);
        ++m.presents;
        m.Note("P");
        m.now += m.presentCost + static_cast<uint32_t>(m.jumpAtPresent[m.presents]);
    }

    // Runs the loop as the program does, `startUp` ms after the base reading.
    std::string Run(uint32_t startUp = 0)
    {
        const uint32_t base = now;
        now += startUp;
        const FrameLoopHooks hooks = {this,     Ticks,         Delay,  UpdateInput,
                                      RunFrame, QuitRequested, Present};
        RunFrameLoop(hooks, base);
        return log;
    }
};

} // namespace

TEST(FrameLoop, PacingFollowsTheCostOfUpdatesAndPictures)
{
    struct Case
    {
        const char* what;
        uint32_t update, present;
        int quitOn;
        uint32_t startUp;
        const char* expected;
    };
    const Case cases[] = {
        // Sleep = 16 - batch time, not counting the present; the update that
        // sees the quit is the last, its cut batch resets the period, one
        // more picture and a full sleep follow.
        {"quick periods: one update a picture", 2, 3, 4, 0, "U P D14 U P D14 U P D14 U P D16"},
        {"batch and present of 15 ms: still one update", 5, 10, 4, 0,
         "U P D11 U P D11 U P D11 U P D16"},
        // Sleep 11, after = 17, so skip = 1.
        {"period over 16 ms: two updates a picture", 5, 12, 5, 0, "U P D11 U U P D6 U U P D16"},
        {"long batch: no sleep, catches up", 20, 1, 3, 0, "U P U U P D16"},
        // No first sleep, after = 42, so the second batch runs 42 / 16 + 1 = 3.
        {"start-up time counts against the first period", 1, 1, 5, 40, "U P U U U P D13 U P D16"},
    };
    for (const Case& c : cases)
    {
        FakeMachine machine(c.update, c.present, c.quitOn);
        EXPECT_EQ(machine.Run(c.startUp), c.expected) << c.what;
    }
}

TEST(FrameLoop, WithoutASessionEmptyPicturesComeEverySixteenMs)
{
    FakeMachine machine;
    machine.falseFromUpdate = 1;
    machine.quitOnUpdate = 3;
    EXPECT_EQ(machine.Run(), "U P D16 U P D16 U P D16");
    EXPECT_EQ(machine.now, 1000u + 3 * (1 + 1 + 16));
}

TEST(FrameLoop, ClockWrapDoesNotDisturbThePacing)
{
    FakeMachine machine(5, 12, 5);
    machine.now = 0xFFFFFFF0u;
    EXPECT_EQ(machine.Run(), "U P D11 U U P D6 U U P D16");
}

TEST(FrameLoop, ClockSteppingBackSixteenMsOrMorePresentsWithoutUpdates)
{
    FakeMachine back(2, 3, 4);
    back.jumpAtPresent[2] = -40; // after = -35, skip = -2: one picture alone
    EXPECT_EQ(back.Run(), "U P D14 U P D14 P D16 U P D14 U P D16");

    FakeMachine small(2, 3, 3);
    small.jumpAtPresent[1] = -10; // after = -5, skip = 0: nothing changes
    EXPECT_EQ(small.Run(), "U P D14 U P D14 U P D16");

    FakeMachine during(2, 3, 3);
    during.jumpAtUpdate[2] = -5; // before = -3: no sleep at all
    EXPECT_EQ(during.Run(), "U P D14 U P U P D16");
}
