// Command line of skyreel-sim.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim
{

struct ShotRequest
{
    int32_t update; // picture of the screen after this update's sprites are drawn
    std::string path;
};

struct SimOptions
{
    int32_t frames = 0; // updates to run; 0 = the replay's length
    std::string replayPath;
    bool bot = false;
    bool mortal = false; // the autoplayer ends its games on purpose (--soak)
    uint32_t botSeed = 1;
    int32_t confirmAt = 0; // 0 = chosen by the bot's seed
    std::string recordPath;
    int32_t hashEvery = 0;  // 0 = no hash lines
    std::string hashOut;    // file for the hash lines (and the final update's)
    std::string verifyPath; // golden hash file to compare against
    std::vector<ShotRequest> shots;
    std::string dataDir;
    bool present = true;
    bool quiet = false;
    bool check = false; // invariants after every update
    bool help = false;
};

// False with a message for an unknown option, a missing or malformed value,
// or options that do not go together.
bool ParseOptions(int argc, const char* const* argv, SimOptions* options, std::string* error);

const char* UsageText();

} // namespace sim
