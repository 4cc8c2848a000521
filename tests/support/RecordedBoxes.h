// The game's message boxes recorded instead of shown, while a RecordedBoxes lives: each box's
// text and caption, in order, in g_boxes.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/MessageBox.h"

inline std::vector<std::pair<std::string, std::string>> g_boxes;

class RecordedBoxes {
public:
    RecordedBoxes() {
        g_boxes.clear();
        SetMessageBoxForTesting(Record);
    }
    ~RecordedBoxes() { SetMessageBoxForTesting(nullptr); }
    RecordedBoxes(const RecordedBoxes&) = delete;
    RecordedBoxes& operator=(const RecordedBoxes&) = delete;

private:
    static void Record(const char* text, const char* caption) {
        g_boxes.emplace_back(text, caption);
    }
};
