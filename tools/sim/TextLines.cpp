#include "TextLines.h"

#include <fstream>

namespace sim
{

bool ReadTextFile(const std::string& path, std::string* text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
    {
        return false;
    }
    std::ostringstream contents;
    contents << in.rdbuf();
    *text = contents.str();
    return true;
}

bool ForEachEntry(const std::string& text,
                  const std::function<bool(int number, std::istringstream& words)>& entry)
{
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line))
    {
        ++number;
        const size_t hash = line.find('#');
        if (hash != std::string::npos)
        {
            line.erase(hash);
        }
        std::istringstream words(line);
        if (!(words >> std::ws) || words.eof())
        {
            continue; // blank or comment
        }
        if (!entry(number, words))
        {
            return false;
        }
    }
    return true;
}

} // namespace sim
