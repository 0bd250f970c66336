#include "Run.h"

#include "Autoplayer.h"
#include "Invariants.h"
#include "Replay.h"
#include "Session.h"
#include "StateHash.h"
#include "TextLines.h"
#include "bullets/BulletManage.h"
#include "game/GameDirector.h"

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <sstream>
#include <unistd.h>

namespace sim
{
namespace
{

RunResult Failed(int status, const std::string& message)
{
    RunResult result;
    result.exitStatus = status;
    result.message = message;
    return result;
}

std::string HexHash(uint64_t hash)
{
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, hash);
    return text;
}

// Keeps the per-game figures as the scenes go by.
class GameTracker
{
public:
    void After(const GameDirector& d, RunResult* result)
    {
        if (scene == GameDirector::SceneGameStart && d.scene == GameDirector::ScenePlay)
        {
            result->games.push_back({d.clock, d.score, d.stage, d.grazeCount});
            result->inGame = true;
        }
        if (result->inGame)
        {
            GameRecord& game = result->games.back();
            game.score = d.score;
            game.stage = std::max(game.stage, d.stage);
            game.grazes = d.grazeCount;
            result->highestStage = std::max(result->highestStage, d.stage);
            if (scene == GameDirector::ScenePlay && d.scene == GameDirector::SceneGameOver)
            {
                game.hitAt = d.clock;
            }
            if (scene == GameDirector::SceneGameOver && d.scene == GameDirector::SceneTitleSetUp)
            {
                result->inGame = false;
                ++result->finishedGames;
            }
        }
        result->peakBullets = std::max(result->peakBullets, d.bullets->count);
        scene = d.scene;
    }

private:
    int32_t scene = GameDirector::SceneTitleSetUp;
};

// What a run reads before its first update.
struct RunInputs
{
    Replay replay;
    int32_t frames = 0;                 // updates to run
    std::map<int32_t, uint64_t> golden; // hashes to verify, by update
};

// Reads the replay and the golden hashes and settles the number of updates;
// false with the message of a usage or file error.
bool ReadInputs(const SimOptions& options, RunInputs* inputs, std::string* error)
{
    if (!options.replayPath.empty() && !LoadReplay(options.replayPath, &inputs->replay, error))
    {
        return false;
    }
    const Replay& replay = inputs->replay;
    inputs->frames = options.frames;
    if (inputs->frames == 0)
    {
        inputs->frames = replay.length > 0
                             ? replay.length
                             : (replay.changes.empty() ? 0 : replay.changes.back().update);
        if (inputs->frames == 0)
        {
            *error = options.replayPath + ": an empty replay needs --frames";
            return false;
        }
    }
    if (!options.verifyPath.empty())
    {
        std::string text, parseError;
        if (!ReadTextFile(options.verifyPath, &text) ||
            !ParseHashLines(text, &inputs->golden, &parseError) || inputs->golden.empty())
        {
            *error =
                options.verifyPath + ": " + (parseError.empty() ? "no hash lines" : parseError);
            return false;
        }
    }
    return true;
}

// The file for --hash-out, with its header line; *file stays null without
// the option. False with a message when it cannot be written.
bool OpenHashFile(const SimOptions& options, FILE** file, std::string* error)
{
    if (options.hashOut.empty())
    {
        return true;
    }
    *file = std::fopen(options.hashOut.c_str(), "w");
    if (*file == nullptr)
    {
        *error = options.hashOut + ": cannot write";
        return false;
    }
    std::fprintf(*file, "# skyreel-sim state hashes, every %d update(s)%s%s\n", options.hashEvery,
                 options.replayPath.empty() ? "" : ", replay ", options.replayPath.c_str());
    return true;
}

// The updates of one run: input, the update itself, pictures, invariant
// checks, hash lines and the golden comparison, and what was played.
class Runner
{
public:
    Runner(const SimOptions& runOptions, const RunInputs& runInputs, Session& runSession,
           FILE* hashes, FILE* out)
        : options(runOptions), inputs(runInputs), session(runSession),
          director(*runSession.Director()), hashFile(hashes), output(out),
          bot(runOptions.botSeed, runOptions.confirmAt, runOptions.mortal), shots(runOptions.shots),
          nextGolden(runInputs.golden.begin())
    {
        std::sort(shots.begin(), shots.end(),
                  [](const ShotRequest& a, const ShotRequest& b) { return a.update < b.update; });
    }

    void Run(RunResult* result)
    {
        if (options.bot)
        {
            result->firstConfirmAt = bot.FirstConfirmAt();
        }
        const auto start = std::chrono::steady_clock::now();
        for (int32_t update = 1; update <= inputs.frames; ++update)
        {
            if (!PushInput(update, result))
            {
                break;
            }
            const bool quit = session.Update();
            result->updates = update;
            if (!Present(update, result))
            {
                break;
            }
            tracker.After(director, result);
            if (!Check(update, result) || !Hash(update, quit, result))
            {
                break;
            }
            if (quit)
            {
                result->quit = true;
                break;
            }
        }
        result->seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        result->invariantChecks = checker.checks;
        WarnOfMissingPictures(result);
        CheckGoldenLength(result);
    }

    // Writes what was played as a replay when asked to (after Run).
    void SaveRecording(RunResult* result)
    {
        if (options.recordPath.empty())
        {
            return;
        }
        played.length = result->updates;
        std::vector<std::string> header = {
            "skyreel-sim replay: \"<update> +key\" / \"<update> -key\" "
            "before that update, \"<update> end\" = length"};
        if (options.bot)
        {
            header.push_back(
                "played by the autoplayer, bot seed " + std::to_string(options.botSeed) +
                ", first title confirmed from update " + std::to_string(bot.FirstConfirmAt()));
        }
        std::string error;
        if (!SaveReplay(options.recordPath, played, header, &error) && result->exitStatus == 0)
        {
            result->exitStatus = 3;
            result->message = error;
        }
    }

private:
    // The replay's key changes due by this update, then the autoplayer's,
    // pushed as events; false when SDL's queue is full.
    bool PushInput(int32_t update, RunResult* result)
    {
        changes.clear();
        while (nextChange < inputs.replay.changes.size() &&
               inputs.replay.changes[nextChange].update <= update)
        {
            KeyChange change = inputs.replay.changes[nextChange++];
            change.update = update;
            changes.push_back(change);
        }
        if (options.bot)
        {
            bot.Decide(director, update, &changes);
        }
        if (!session.Push(changes))
        {
            result->exitStatus = 3;
            result->message = "SDL's event queue is full at update " + std::to_string(update);
            return false;
        }
        played.changes.insert(played.changes.end(), changes.begin(), changes.end());
        return true;
    }

    // The screenshot asked for this update, else the picture of a drawing
    // run; false when a screenshot cannot be written.
    bool Present(int32_t update, RunResult* result)
    {
        while (nextShot < shots.size() && shots[nextShot].update < update)
        {
            ++nextShot; // asked for an update before the first: never taken
        }
        if (nextShot < shots.size() && shots[nextShot].update == update)
        {
            std::string error;
            if (!session.PresentWithScreenshot(shots[nextShot].path, &error))
            {
                result->exitStatus = 3;
                result->message = error;
                return false;
            }
            while (nextShot < shots.size() && shots[nextShot].update == update)
            {
                ++nextShot; // one picture per update; a second name for it is ignored
            }
        }
        else if (options.present ||
                 (nextShot < shots.size() && shots[nextShot].update == update + 1))
        {
            // Without drawing, the update before a screenshot still presents,
            // so that the screen is cleared as in a drawing run.
            session.Present();
        }
        return true;
    }

    // The invariants after this update, when asked for; false when one broke.
    bool Check(int32_t update, RunResult* result)
    {
        std::string error;
        if (!options.check || checker.Check(director, update, &error))
        {
            return true;
        }
        result->exitStatus = 2;
        result->message = "invariant broken after update " + std::to_string(update) + ": " + error;
        return false;
    }

    // The state hash where a hash line, the golden trace or the end of the
    // run wants it; false at the first difference from the golden trace.
    bool Hash(int32_t update, bool quit, RunResult* result)
    {
        const bool last = update == inputs.frames || quit;
        const bool hashLine = options.hashEvery > 0 && update % options.hashEvery == 0;
        const bool goldenLine = nextGolden != inputs.golden.end() && nextGolden->first == update;
        if (!hashLine && !goldenLine && !last)
        {
            return true;
        }
        const uint64_t hash = HashGameState(director);
        result->hash = hash;
        if (hashLine || (hashFile != nullptr && last))
        {
            WriteHashLine(HashLine(update, hash));
        }
        if (!goldenLine)
        {
            return true;
        }
        if (nextGolden->second != hash)
        {
            ReportGoldenMismatch(update, hash, result);
            return false;
        }
        ++result->verifiedHashes;
        ++nextGolden;
        return true;
    }

    void WriteHashLine(const std::string& line)
    {
        if (hashFile != nullptr)
        {
            std::fprintf(hashFile, "%s\n", line.c_str());
        }
        else if (!options.quiet)
        {
            std::fprintf(output, "%s\n", line.c_str());
        }
    }

    void ReportGoldenMismatch(int32_t update, uint64_t hash, RunResult* result) const
    {
        const int32_t previous =
            nextGolden == inputs.golden.begin() ? 0 : std::prev(nextGolden)->first;
        result->exitStatus = 1;
        result->message = "golden trace " + options.verifyPath + ": first difference at update " +
                          std::to_string(update) + " (expected " + HexHash(nextGolden->second) +
                          ", got " + HexHash(hash) + ")";
        if (previous + 1 < update)
        {
            result->message += "; update " + std::to_string(previous) +
                               " was the last that matched, the change lies in " +
                               std::to_string(previous + 1) + ".." + std::to_string(update);
        }
    }

    void WarnOfMissingPictures(RunResult* result)
    {
        for (; nextShot < shots.size(); ++nextShot)
        {
            if (shots[nextShot].update > result->updates)
            {
                result->warnings.push_back("no picture " + shots[nextShot].path +
                                           ": the run ended after update " +
                                           std::to_string(result->updates));
            }
        }
    }

    // A run that matched so far must also end where the golden trace ends.
    void CheckGoldenLength(RunResult* result) const
    {
        if (result->exitStatus != 0 || inputs.golden.empty())
        {
            return;
        }
        const int32_t traceEnd = inputs.golden.rbegin()->first;
        if (nextGolden != inputs.golden.end())
        {
            result->exitStatus = 1;
            result->message = "golden trace " + options.verifyPath +
                              ": the run ended after update " + std::to_string(result->updates) +
                              " but the trace goes on to update " + std::to_string(traceEnd);
        }
        else if (traceEnd != result->updates)
        {
            result->exitStatus = 1;
            result->message = "golden trace " + options.verifyPath + ": the trace ends at update " +
                              std::to_string(traceEnd) + " but the run went on to update " +
                              std::to_string(result->updates);
        }
    }

    const SimOptions& options;
    const RunInputs& inputs;
    Session& session;
    GameDirector& director;
    FILE* hashFile; // null: hash lines go to `output` unless quiet
    FILE* output;
    Autoplayer bot;
    InvariantChecker checker;
    GameTracker tracker;
    Replay played;
    std::vector<KeyChange> changes; // of the current update
    size_t nextChange = 0;
    std::vector<ShotRequest> shots; // by update
    size_t nextShot = 0;
    std::map<int32_t, uint64_t>::const_iterator nextGolden;
};

} // namespace

std::string HashLine(int32_t update, uint64_t hash)
{
    return "hash " + std::to_string(update) + " " + HexHash(hash);
}

bool ParseHashLines(const std::string& text, std::map<int32_t, uint64_t>* hashes,
                    std::string* error)
{
    int32_t last = 0;
    return ForEachEntry(text,
                        [&](int number, std::istringstream& words)
                        {
                            std::string word, hex, extra;
                            long long update = 0;
                            words >> word;
                            if (word != "hash" || !(words >> update >> hex) || (words >> extra) ||
                                update <= last || update > INT32_MAX || hex.size() != 16 ||
                                hex.find_first_not_of("0123456789abcdef") != std::string::npos)
                            {
                                *error = "line " + std::to_string(number) +
                                         ": expected \"hash <update> <16 hex digits>\"" +
                                         " with rising updates";
                                return false;
                            }
                            last = static_cast<int32_t>(update);
                            (*hashes)[last] = std::stoull(hex, nullptr, 16);
                            return true;
                        });
}

RunResult RunSimulation(const SimOptions& options, FILE* out)
{
    if (!options.dataDir.empty() && chdir(options.dataDir.c_str()) != 0)
    {
        return Failed(3, "cannot change into " + options.dataDir);
    }
    RunInputs inputs;
    std::string error;
    if (!ReadInputs(options, &inputs, &error))
    {
        return Failed(3, error);
    }
    FILE* hashFile = nullptr;
    if (!OpenHashFile(options, &hashFile, &error))
    {
        return Failed(3, error);
    }
    Session session;
    if (!session.Open(&error))
    {
        if (hashFile != nullptr)
        {
            std::fclose(hashFile);
        }
        return Failed(3, error);
    }

    RunResult result;
    Runner runner(options, inputs, session, hashFile, out);
    runner.Run(&result);
    if (hashFile != nullptr)
    {
        std::fclose(hashFile);
    }
    runner.SaveRecording(&result);
    session.Close();
    return result;
}

std::string SummaryJson(const RunResult& r)
{
    std::ostringstream json;
    int32_t best = 0;
    int64_t grazes = 0;
    for (const GameRecord& game : r.games)
    {
        best = std::max(best, game.score);
        grazes += game.grazes;
    }
    auto list = [&](auto field)
    {
        std::string text = "[";
        for (size_t i = 0; i < r.games.size(); ++i)
        {
            text += (i > 0 ? "," : "") + std::to_string(field(r.games[i]));
        }
        return text + "]";
    };
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.0f", r.seconds > 0.0 ? r.updates / r.seconds : 0.0);
    json << "{\"updates\":" << r.updates << ",\"games\":" << r.games.size()
         << ",\"finished_games\":" << r.finishedGames
         << ",\"in_game\":" << (r.inGame ? "true" : "false")
         << ",\"highest_stage\":" << r.highestStage
         << ",\"scores\":" << list([](const GameRecord& g) { return g.score; })
         << ",\"stages\":" << list([](const GameRecord& g) { return g.stage; })
         << ",\"seeds\":" << list([](const GameRecord& g) { return g.seed; })
         << ",\"hit_at\":" << list([](const GameRecord& g) { return g.hitAt; })
         << ",\"best_score\":" << best << ",\"grazes\":" << grazes
         << ",\"peak_bullets\":" << r.peakBullets << ",\"quit\":" << (r.quit ? "true" : "false");
    if (r.firstConfirmAt > 0)
    {
        json << ",\"confirm_at\":" << r.firstConfirmAt;
    }
    if (r.invariantChecks > 0)
    {
        json << ",\"invariant_checks\":" << r.invariantChecks;
    }
    if (r.verifiedHashes > 0)
    {
        json << ",\"verified_hashes\":" << r.verifiedHashes;
    }
    json << ",\"hash\":\"" << HexHash(r.hash) << "\",\"updates_per_second\":" << rate << "}";
    return json.str();
}

} // namespace sim
