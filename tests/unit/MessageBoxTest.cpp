#include <gtest/gtest.h>

#include <string>

#include "ConsoleCapture.h"
#include "ScopedEnv.h"
#include "platform/MessageBox.h"

namespace {
std::string g_recorded;

void Record(const char* text, const char* caption) {
    g_recorded += std::string(caption) + "|" + text + ";";
}
}  // namespace

TEST(MessageBox, WithoutADisplayTheTextGoesToStandardError) {
    ScopedEnv noDisplay("DISPLAY", nullptr);
    ErrorCapture errors;
    ShowMessageBox("Failed To Create Cg Context", "Error");
    EXPECT_EQ("Error: Failed To Create Cg Context\n", errors.Text());
}

TEST(MessageBox, TestsCanReplaceTheBoxAndBringItBack) {
    g_recorded.clear();
    SetMessageBoxForTesting(Record);
    ShowMessageBox("Invalid profile type", "Error");
    ShowMessageBox("second", "Caption");
    EXPECT_EQ("Error|Invalid profile type;Caption|second;", g_recorded);
    SetMessageBoxForTesting(nullptr);
    ScopedEnv noDisplay("DISPLAY", nullptr);
    ErrorCapture errors;
    ShowMessageBox("real again", "Error");
    EXPECT_EQ("Error: real again\n", errors.Text());
    EXPECT_EQ("Error|Invalid profile type;Caption|second;", g_recorded);
}
