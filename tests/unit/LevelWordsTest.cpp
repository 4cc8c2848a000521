// The level file's word reader, on its own: field bounds, the whitespace it stops at, and the
// check that a path can be written into a level as one word.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

#include "base/LevelWords.h"

// The field is followed by a guard that must stay untouched whatever the token length.
TEST(LevelWords, TokenReaderNeverWritesPastItsField) {
    struct {
        char field[kLevelFieldSize];
        char guard[16];
    } memory;
    std::memset(memory.guard, 'G', sizeof memory.guard);
    for (size_t length : {254u, 255u, 256u, 300u, 5000u}) {
        std::istringstream in(std::string(length, 'x') + " next");
        const bool ok = ReadLevelToken(in, memory.field);
        EXPECT_EQ(length <= 255, ok) << length;
        EXPECT_LT(std::strlen(memory.field), kLevelFieldSize);
        EXPECT_EQ(std::string(16, 'G'), std::string(memory.guard, 16)) << length;
    }
}

TEST(LevelWords, TokensFromAStreamStopAtWhitespace) {
    char first[kLevelFieldSize];
    char second[kLevelFieldSize];
    std::istringstream in("\v\f a\tb");
    EXPECT_TRUE(ReadLevelToken(in, first));
    EXPECT_TRUE(ReadLevelToken(in, second));
    EXPECT_STREQ("a", first);
    EXPECT_STREQ("b", second);
    EXPECT_FALSE(ReadLevelToken(in, second));
    EXPECT_STREQ("", second);
}

// What the course tool may write into a level as a path (its tests cover spaces and length):
// only what reads back whole.
TEST(LevelWords, APathIsOneWordOnlyWhenItReadsBackWhole) {
    EXPECT_TRUE(ReadsAsOneLevelWord("/home/player/courses/mine.txt"));
    EXPECT_TRUE(ReadsAsOneLevelWord(std::string(255, 'a')));
    for (const std::string& text : {std::string(256, 'a'), std::string(), std::string("a\0b", 3),
                                    std::string("a\vb"), std::string("\fa"), std::string("a\r")}) {
        EXPECT_FALSE(ReadsAsOneLevelWord(text)) << text.size() << " characters";
    }
}
