#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "platform/MessageBox.h"

namespace {
std::string g_recorded;

void Record(const char* text, const char* caption) {
    g_recorded += std::string(caption) + "|" + text + ";";
}
}  // namespace

TEST(MessageBox, WithoutADisplayTheTextGoesToStandardError) {
    unsetenv("DISPLAY");
    std::ostringstream errors;
    std::streambuf* previous = std::cerr.rdbuf(errors.rdbuf());
    ShowMessageBox("Failed To Create Cg Context", "Error");
    std::cerr.rdbuf(previous);
    EXPECT_EQ("Error: Failed To Create Cg Context\n", errors.str());
}

TEST(MessageBox, TestsCanReplaceTheBoxAndBringItBack) {
    SetMessageBoxForTesting(Record);
    ShowMessageBox("Invalid profile type", "Error");
    ShowMessageBox("second", "Caption");
    EXPECT_EQ("Error|Invalid profile type;Caption|second;", g_recorded);
    SetMessageBoxForTesting(nullptr);
    unsetenv("DISPLAY");
    std::ostringstream errors;
    std::streambuf* previous = std::cerr.rdbuf(errors.rdbuf());
    ShowMessageBox("real again", "Error");
    std::cerr.rdbuf(previous);
    EXPECT_EQ("Error: real again\n", errors.str());
    EXPECT_EQ("Error|Invalid profile type;Caption|second;", g_recorded);
}
