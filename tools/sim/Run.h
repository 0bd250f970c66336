// One simulator run: the session, the input source (replay or autoplayer),
// invariant checks, hash lines, golden comparison, screenshots, and the
// figures of the summary.
#pragma once

#include "Options.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace sim
{

struct GameRecord
{
    int32_t seed = 0;  // the director's clock when the game started (its srand seed)
    int32_t score = 0; // final score, or the current one for a game still running
    int32_t stage = 0; // highest stage reached
    int32_t grazes = 0;
    int32_t hitAt = 0; // the update in which a bullet hit the ship; 0 while it runs
};

struct RunResult
{
    int exitStatus = 0;  // 0 done, 1 golden mismatch, 2 invariant broken, 3 usage or file error
    std::string message; // what went wrong, for exit statuses 1 to 3
    std::vector<std::string> warnings; // things asked for that could not be done

    int32_t updates = 0;
    std::vector<GameRecord> games; // finished games, then the one running (if any)
    bool inGame = false;           // the last entry of `games` is still running
    int32_t finishedGames = 0;
    int32_t highestStage = 0;
    int32_t peakBullets = 0;
    bool quit = false;
    int64_t invariantChecks = 0;
    uint64_t hash = 0; // state digest after the last update
    double seconds = 0.0;
    int32_t firstConfirmAt = 0; // the autoplayer's, 0 without it
    int32_t verifiedHashes = 0;
};

// "hash <update> <hex>" lines, with '#' comments; the updates must rise.
bool ParseHashLines(const std::string& text, std::map<int32_t, uint64_t>* hashes,
                    std::string* error);
std::string HashLine(int32_t update, uint64_t hash);

// Runs with the options; hash lines (when not sent to a file) go to `out`
// unless quiet. Changes into options.dataDir first when it is set.
RunResult RunSimulation(const SimOptions& options, FILE* out);

// The one-line JSON summary.
std::string SummaryJson(const RunResult& result);

} // namespace sim
