#include "base/Settings.h"

#include <cstdlib>

bool ReadWholeNumber(const char* text, int lowest, int highest, int* value) {
    if (text == nullptr || *text == '\0') {
        return false;
    }
    long long number = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9') {
            return false;
        }
        number = number * 10 + (*c - '0');
        if (number > highest) {
            return false;  // also keeps a long run of digits from overflowing
        }
    }
    if (number < lowest) {
        return false;
    }
    *value = static_cast<int>(number);
    return true;
}

bool ReadYesNo(const char* text, bool* value) {
    const std::string word = text ? text : "";
    if (word != "yes" && word != "no") {
        return false;
    }
    *value = word == "yes";
    return true;
}

bool ReadKey(const std::string& text, unsigned char* key) {
    const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
    if (text.size() == 1 && byte(0) > ' ' && byte(0) < 0x7f) {
        *key = byte(0);
        return true;
    }
    // U+00A1 to U+00FF: two bytes, C2 A1..BF or C3 80..BF.
    if (text.size() == 2 && ((byte(0) == 0xc2 && byte(1) >= 0xa1 && byte(1) <= 0xbf) ||
                             (byte(0) == 0xc3 && byte(1) >= 0x80 && byte(1) <= 0xbf))) {
        *key = static_cast<unsigned char>((byte(0) & 0x1f) << 6 | (byte(1) & 0x3f));
        return true;
    }
    return false;
}

std::string KeyText(unsigned char key) {
    if (key < 0x80) {
        return std::string(1, static_cast<char>(key));
    }
    return {static_cast<char>(0xc0 | key >> 6), static_cast<char>(0x80 | (key & 0x3f))};
}

bool IsGameKey(unsigned char key) {
    return key == kEscapeKey || key == kQuitKey || key == kSnapshotKey;
}

const char* EnvironmentSetting(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}
