// Generates every file of the game's data folder and the application icons,
// and writes them out. Generation is deterministic: the same source gives the
// same bytes on every run and every build.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assets
{

struct GeneratedFile
{
    std::string name; // file name inside its folder
    std::vector<uint8_t> bytes;
};

// texture1.png, clip1.png, ascii.bmp, sounddat.lst and every sound it names.
std::vector<GeneratedFile> GenerateDataFiles();
// skyreel.png (128 x 128) and skyreel-256.png (256 x 256).
std::vector<GeneratedFile> GenerateIconFiles();

// Writes the files into folder (which must exist). False with a message in
// *error when a file cannot be written.
bool WriteFiles(const std::string& folder, const std::vector<GeneratedFile>& files,
                std::string* error);

} // namespace assets
