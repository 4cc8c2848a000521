#include "base/Settings.h"

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

bool ReadVolume(const char* text, int* volume) {
    return ReadWholeNumber(text, 0, kLoudestVolume, volume);
}

bool ReadFrameCap(const char* text, int* framesPerSecond) {
    return ReadWholeNumber(text, 0, kHighestFrameCap, framesPerSecond);
}
