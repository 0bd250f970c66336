// The committed data files must be exactly what the generator makes from the
// sources in tools/assets: art and sound are edited there, never in data/.
#include "AssetTestSupport.h"
#include "tools/assets/AssetWriter.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace
{

struct TempDir
{
    std::filesystem::path path;
    TempDir()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "skyreel-assets-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
        {
            path = pattern;
        }
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

void ExpectFolderMatches(const std::string& generatedFolder, const std::string& committedFolder,
                         const std::vector<assets::GeneratedFile>& files)
{
    for (const assets::GeneratedFile& file : files)
    {
        const auto generated = ReadFileBytes(generatedFolder + "/" + file.name);
        const auto committed = ReadFileBytes(RepoPath(committedFolder + "/" + file.name));
        ASSERT_FALSE(generated.empty()) << file.name << " was not written";
        EXPECT_EQ(generated.size(), committed.size())
            << committedFolder << "/" << file.name
            << " differs from the generator's output: run `make data`";
        EXPECT_TRUE(generated == committed)
            << committedFolder << "/" << file.name
            << " differs from the generator's output: run `make data`";
    }
}

} // namespace

TEST(GeneratedData, CommittedFilesMatchTheGenerator)
{
    TempDir temp;
    ASSERT_FALSE(temp.path.empty());
    const auto dataFolder = temp.path / "data";
    const auto iconFolder = temp.path / "packaging";
    std::filesystem::create_directories(dataFolder);
    std::filesystem::create_directories(iconFolder);

    const auto data = assets::GenerateDataFiles();
    const auto icons = assets::GenerateIconFiles();
    std::string error;
    ASSERT_TRUE(assets::WriteFiles(dataFolder.string(), data, &error)) << error;
    ASSERT_TRUE(assets::WriteFiles(iconFolder.string(), icons, &error)) << error;

    ExpectFolderMatches(dataFolder.string(), "data", data);
    ExpectFolderMatches(iconFolder.string(), "packaging", icons);
}

TEST(GeneratedData, EveryFileTheGameReadsIsGeneratedAndTheTotalStaysSmall)
{
    const auto data = assets::GenerateDataFiles();
    size_t total = 0;
    std::vector<std::string> names;
    for (const auto& file : data)
    {
        total += file.bytes.size();
        names.push_back(file.name);
    }
    for (const char* required : {"texture1.png", "clip1.png", "ascii.bmp", "sounddat.lst"})
    {
        EXPECT_NE(std::find(names.begin(), names.end(), required), names.end()) << required;
    }
    EXPECT_LT(total, 3u * 1024u * 1024u);
}

TEST(GeneratedData, WritingIntoAMissingFolderFailsWithAMessage)
{
    std::string error;
    EXPECT_FALSE(assets::WriteFiles("/nonexistent-skyreel-folder", {{"x.bin", {1, 2, 3}}}, &error));
    EXPECT_NE(error.find("/nonexistent-skyreel-folder/x.bin"), std::string::npos);
}
