// The game's message boxes recorded instead of shown, with SetMessageBoxForTesting(RecordBox):
// each box's text and caption, in order.
#pragma once

#include <string>
#include <utility>
#include <vector>

inline std::vector<std::pair<std::string, std::string>> g_boxes;

inline void RecordBox(const char* text, const char* caption) {
    g_boxes.emplace_back(text, caption);
}
