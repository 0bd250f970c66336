// Writes an SDL surface as an 8-bit RGB PNG.
#pragma once

#include <SDL/SDL.h>
#include <string>

namespace sim
{

// Any pixel format SDL can describe; the alpha channel is dropped. False,
// with a message in *error, when the file cannot be written.
bool SavePng(SDL_Surface* surface, const std::string& path, std::string* error);

} // namespace sim
