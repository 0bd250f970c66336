// The simulator's text files (replays, hash lines): read whole, then line by
// line, '#' starting a comment that runs to the end of its line.
#pragma once

#include <functional>
#include <sstream>
#include <string>

namespace sim
{

// The whole file; false when it cannot be opened.
bool ReadTextFile(const std::string& path, std::string* text);

// Calls entry(number, words) for each line of `text` that holds a word once
// its comment is taken off: `number` counts lines from 1, `words` reads the
// line from its first word. Stops at the first entry that returns false and
// returns false then; blank and comment lines are passed over.
bool ForEachEntry(const std::string& text,
                  const std::function<bool(int number, std::istringstream& words)>& entry);

} // namespace sim
