// The lines the game prints on its way up, worked out from the data files themselves (the
// level's two words, the course's cells, the TIFF images' sizes), so that the tests compare
// the game's transcript with what the files say rather than with an earlier transcript.
#pragma once

#include <gtest/gtest.h>

#include <string>

struct LevelWords {
    std::string skybox;
    std::string course;
};

// The two words of a level file; empty words when it cannot be read.
LevelWords ReadLevelWords(const std::string& path);

// "Reading level description file '...'..." and the two echoed words.
std::string LevelLines(const std::string& levelArgument, const LevelWords& words);
// The loading line of one TIFF image and, when dataDir/name can be read, its size line; else
// the "Error opening" line.
std::string TiffLines(const std::string& dataDir, const std::string& name);
// The six faces of a sky box folder, then "Generating Skybox...done!".
std::string SkyboxLines(const std::string& dataDir, const std::string& folder);
// The course file's echo: name, dimensions, the grid as the game prints it, "SUCCESS!".
// coursePath is where the test reads the file, courseArgument how the level names it.
std::string CourseLines(const std::string& coursePath, const std::string& courseArgument);
// The height field, the two terrain images and the three marker images.
std::string TerrainLines(const std::string& dataDir);

// Compares two transcripts; on a difference it names the first line that differs, with the
// lines before it, rather than printing both transcripts whole.
::testing::AssertionResult SameLines(const std::string& expected, const std::string& actual);
