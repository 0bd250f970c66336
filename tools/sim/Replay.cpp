#include "Replay.h"

#include "TextLines.h"

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace sim
{
namespace
{

struct KeyInfo
{
    Key key;
    const char* name;
    SDLKey sym;
};

constexpr KeyInfo Keys[KeyCount] = {
    {Key::Left, "left", SDLK_LEFT},
    {Key::Right, "right", SDLK_RIGHT},
    {Key::Up, "up", SDLK_UP},
    {Key::Down, "down", SDLK_DOWN},
    {Key::Z, "z", SDLK_z},
    {Key::Space, "space", SDLK_SPACE},
    {Key::X, "x", SDLK_x},
    {Key::C, "c", SDLK_c},
    {Key::V, "v", SDLK_v},
    {Key::Q, "q", SDLK_q},
    {Key::Escape, "escape", SDLK_ESCAPE},
};

std::string LineError(int line, const std::string& what)
{
    return "line " + std::to_string(line) + ": " + what;
}

// A positive decimal update number that fits int32; false otherwise.
bool ParseUpdate(const std::string& word, int32_t* update)
{
    if (word.empty() || word.size() > 10)
    {
        return false;
    }
    for (char c : word)
    {
        if (c < '0' || c > '9')
        {
            return false;
        }
    }
    const long long value = std::strtoll(word.c_str(), nullptr, 10);
    if (value < 1 || value > INT32_MAX)
    {
        return false;
    }
    *update = static_cast<int32_t>(value);
    return true;
}

} // namespace

const char* KeyName(Key key)
{
    return Keys[static_cast<int>(key)].name;
}

bool KeyFromName(const std::string& name, Key* key)
{
    for (const KeyInfo& info : Keys)
    {
        if (name == info.name)
        {
            *key = info.key;
            return true;
        }
    }
    return false;
}

SDLKey KeySym(Key key)
{
    return Keys[static_cast<int>(key)].sym;
}

bool ParseReplay(const std::string& text, Replay* replay, std::string* error)
{
    Replay result;
    bool ended = false;
    int32_t last = 0;
    const bool read = ForEachEntry(
        text,
        [&](int number, std::istringstream& words)
        {
            std::string updateWord, change, extra;
            words >> updateWord;
            if (!(words >> change) || (words >> extra))
            {
                *error = LineError(
                    number, "expected \"<update> +key\", \"<update> -key\" or \"<update> end\"");
                return false;
            }
            if (ended)
            {
                *error = LineError(number, "entry after the end line");
                return false;
            }
            int32_t update = 0;
            if (!ParseUpdate(updateWord, &update))
            {
                *error = LineError(number, "bad update number \"" + updateWord + "\"");
                return false;
            }
            if (update < last)
            {
                *error = LineError(number, "update " + updateWord + " goes back in time");
                return false;
            }
            last = update;
            if (change == "end")
            {
                result.length = update;
                ended = true;
                return true;
            }
            Key key;
            if ((change[0] != '+' && change[0] != '-') || !KeyFromName(change.substr(1), &key))
            {
                *error = LineError(number, "bad key change \"" + change + "\"");
                return false;
            }
            result.changes.push_back({update, key, change[0] == '+'});
            return true;
        });
    if (!read)
    {
        return false;
    }
    *replay = std::move(result);
    return true;
}

bool LoadReplay(const std::string& path, Replay* replay, std::string* error)
{
    std::string text;
    if (!ReadTextFile(path, &text))
    {
        *error = path + ": cannot open";
        return false;
    }
    if (!ParseReplay(text, replay, error))
    {
        *error = path + ": " + *error;
        return false;
    }
    return true;
}

std::string FormatReplay(const Replay& replay, const std::vector<std::string>& header)
{
    std::string text;
    for (const std::string& line : header)
    {
        text += "# " + line + "\n";
    }
    for (const KeyChange& change : replay.changes)
    {
        text += std::to_string(change.update) + (change.down ? " +" : " -") + KeyName(change.key) +
                "\n";
    }
    if (replay.length > 0)
    {
        text += std::to_string(replay.length) + " end\n";
    }
    return text;
}

bool SaveReplay(const std::string& path, const Replay& replay,
                const std::vector<std::string>& header, std::string* error)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << FormatReplay(replay, header);
    out.close();
    if (!out)
    {
        *error = path + ": cannot write";
        return false;
    }
    return true;
}

} // namespace sim
