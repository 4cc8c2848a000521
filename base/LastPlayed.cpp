#include "base/LastPlayed.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/PlayerFolders.h"

std::string LastPlayedFile() {
    const std::string state = StateFolder();
    return state.empty() ? "" : state + "/last-level";
}

bool RememberLevel(const std::string& levelFile, std::string* problem) {
    const std::string file = LastPlayedFile();
    if (file.empty()) {
        *problem = "kestrun: no folder to keep the level played last (neither XDG_STATE_HOME "
                   "nor HOME is a full path); the game goes on";
        return false;
    }
    std::error_code error;
    std::filesystem::path level = std::filesystem::canonical(levelFile, error);
    if (error) {
        level = std::filesystem::absolute(levelFile, error);
    }
    std::string reason;
    if (!WriteFileWhole(file, level.string() + "\n", &reason)) {
        *problem = "kestrun: cannot keep the level played last (" + reason + "); the game goes on";
        return false;
    }
    return true;
}

std::string RememberedLevel() {
    const std::string file = LastPlayedFile();
    std::ifstream in(file, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return text;
}
