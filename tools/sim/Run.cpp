#include "Run.h"

#include "Autoplayer.h"
#include "Invariants.h"
#include "Replay.h"
#include "Session.h"
#include "StateHash.h"
#include "bullets/BulletManage.h"
#include "game/GameDirector.h"

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <fstream>
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

} // namespace

std::string HashLine(int32_t update, uint64_t hash)
{
    return "hash " + std::to_string(update) + " " + HexHash(hash);
}

bool ParseHashLines(const std::string& text, std::map<int32_t, uint64_t>* hashes,
                    std::string* error)
{
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    int32_t last = 0;
    while (std::getline(lines, line))
    {
        ++number;
        const size_t hash = line.find('#');
        if (hash != std::string::npos)
        {
            line.erase(hash);
        }
        std::istringstream words(line);
        std::string word, hex, extra;
        long long update = 0;
        if (!(words >> word))
        {
            continue;
        }
        if (word != "hash" || !(words >> update >> hex) || (words >> extra) || update <= last ||
            update > INT32_MAX || hex.size() != 16 ||
            hex.find_first_not_of("0123456789abcdef") != std::string::npos)
        {
            *error = "line " + std::to_string(number) +
                     ": expected \"hash <update> <16 hex digits>\"" + " with rising updates";
            return false;
        }
        last = static_cast<int32_t>(update);
        (*hashes)[last] = std::stoull(hex, nullptr, 16);
    }
    return true;
}

RunResult RunSimulation(const SimOptions& options, FILE* out)
{
    if (!options.dataDir.empty() && chdir(options.dataDir.c_str()) != 0)
    {
        return Failed(3, "cannot change into " + options.dataDir);
    }

    std::string error;
    Replay replay;
    if (!options.replayPath.empty() && !LoadReplay(options.replayPath, &replay, &error))
    {
        return Failed(3, error);
    }
    int32_t frames = options.frames;
    if (frames == 0)
    {
        frames = replay.length > 0 ? replay.length
                                   : (replay.changes.empty() ? 0 : replay.changes.back().update);
        if (frames == 0)
        {
            return Failed(3, options.replayPath + ": an empty replay needs --frames");
        }
    }

    std::map<int32_t, uint64_t> golden;
    if (!options.verifyPath.empty())
    {
        std::ifstream in(options.verifyPath, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        if (!in || !ParseHashLines(text.str(), &golden, &error) || golden.empty())
        {
            return Failed(3, options.verifyPath + ": " + (error.empty() ? "no hash lines" : error));
        }
    }

    FILE* hashFile = nullptr;
    if (!options.hashOut.empty())
    {
        hashFile = std::fopen(options.hashOut.c_str(), "w");
        if (hashFile == nullptr)
        {
            return Failed(3, options.hashOut + ": cannot write");
        }
        std::fprintf(hashFile, "# skyreel-sim state hashes, every %d update(s)%s%s\n",
                     options.hashEvery, options.replayPath.empty() ? "" : ", replay ",
                     options.replayPath.c_str());
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
    GameDirector& director = *session.Director();

    RunResult result;
    Autoplayer bot(options.botSeed, options.confirmAt, options.mortal);
    if (options.bot)
    {
        result.firstConfirmAt = bot.FirstConfirmAt();
    }
    InvariantChecker checker;
    GameTracker tracker;
    Replay played;
    std::vector<KeyChange> changes;
    size_t nextChange = 0;
    std::vector<ShotRequest> shots = options.shots;
    std::sort(shots.begin(), shots.end(),
              [](const ShotRequest& a, const ShotRequest& b) { return a.update < b.update; });
    size_t nextShot = 0;
    auto golden_it = golden.begin();

    const auto start = std::chrono::steady_clock::now();
    for (int32_t update = 1; update <= frames; ++update)
    {
        changes.clear();
        while (nextChange < replay.changes.size() && replay.changes[nextChange].update <= update)
        {
            KeyChange change = replay.changes[nextChange++];
            change.update = update;
            changes.push_back(change);
        }
        if (options.bot)
        {
            bot.Decide(director, update, &changes);
        }
        if (!session.Push(changes))
        {
            result.exitStatus = 3;
            result.message = "SDL's event queue is full at update " + std::to_string(update);
            break;
        }
        played.changes.insert(played.changes.end(), changes.begin(), changes.end());

        const bool quit = session.Update();
        result.updates = update;

        while (nextShot < shots.size() && shots[nextShot].update < update)
        {
            ++nextShot; // asked for an update before the first: never taken
        }
        if (nextShot < shots.size() && shots[nextShot].update == update)
        {
            if (!session.PresentWithScreenshot(shots[nextShot].path, &error))
            {
                result.exitStatus = 3;
                result.message = error;
                break;
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

        tracker.After(director, &result);
        if (options.check && !checker.Check(director, update, &error))
        {
            result.exitStatus = 2;
            result.message =
                "invariant broken after update " + std::to_string(update) + ": " + error;
            break;
        }

        const bool hashLine = options.hashEvery > 0 && update % options.hashEvery == 0;
        const bool goldenLine = golden_it != golden.end() && golden_it->first == update;
        if (hashLine || goldenLine || update == frames || quit)
        {
            const uint64_t hash = HashGameState(director);
            result.hash = hash;
            if (hashLine)
            {
                if (hashFile != nullptr)
                {
                    std::fprintf(hashFile, "%s\n", HashLine(update, hash).c_str());
                }
                else if (!options.quiet)
                {
                    std::fprintf(out, "%s\n", HashLine(update, hash).c_str());
                }
            }
            else if (hashFile != nullptr && (update == frames || quit))
            {
                std::fprintf(hashFile, "%s\n", HashLine(update, hash).c_str());
            }
            if (goldenLine)
            {
                if (golden_it->second != hash)
                {
                    const int32_t previous =
                        golden_it == golden.begin() ? 0 : std::prev(golden_it)->first;
                    result.exitStatus = 1;
                    result.message = "golden trace " + options.verifyPath +
                                     ": first difference at update " + std::to_string(update) +
                                     " (expected " + HexHash(golden_it->second) + ", got " +
                                     HexHash(hash) + ")";
                    if (previous + 1 < update)
                    {
                        result.message += "; update " + std::to_string(previous) +
                                          " was the last that matched, the change lies in " +
                                          std::to_string(previous + 1) + ".." +
                                          std::to_string(update);
                    }
                    break;
                }
                ++result.verifiedHashes;
                ++golden_it;
            }
        }
        if (quit)
        {
            result.quit = true;
            break;
        }
    }
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (; nextShot < shots.size(); ++nextShot)
    {
        if (shots[nextShot].update > result.updates)
        {
            result.warnings.push_back("no picture " + shots[nextShot].path +
                                      ": the run ended after update " +
                                      std::to_string(result.updates));
        }
    }
    result.invariantChecks = checker.checks;

    if (result.exitStatus == 0 && golden_it != golden.end())
    {
        result.exitStatus = 1;
        result.message = "golden trace " + options.verifyPath + ": the run ended after update " +
                         std::to_string(result.updates) + " but the trace goes on to update " +
                         std::to_string(golden.rbegin()->first);
    }
    if (result.exitStatus == 0 && !golden.empty() && golden.rbegin()->first != result.updates)
    {
        result.exitStatus = 1;
        result.message = "golden trace " + options.verifyPath + ": the trace ends at update " +
                         std::to_string(golden.rbegin()->first) +
                         " but the run went on to update " + std::to_string(result.updates);
    }

    if (hashFile != nullptr)
    {
        std::fclose(hashFile);
    }
    if (!options.recordPath.empty())
    {
        played.length = result.updates;
        std::vector<std::string> header = {
            "skyreel-sim replay: \"<update> +key\" / \"<update> -key\" "
            "before that update, \"<update> end\" = length"};
        if (options.bot)
        {
            header.push_back(
                "played by the autoplayer, bot seed " + std::to_string(options.botSeed) +
                ", first title confirmed from update " + std::to_string(bot.FirstConfirmAt()));
        }
        if (!SaveReplay(options.recordPath, played, header, &error) && result.exitStatus == 0)
        {
            result.exitStatus = 3;
            result.message = error;
        }
    }
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
