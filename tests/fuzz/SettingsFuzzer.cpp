// Feeds arbitrary bytes to the settings file's reader: whatever the file says, every control
// ends with a key of its own that the file could give and the game does not keep, every value
// lies in its range, and the settings as kestrun --settings writes them read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>

#include "base/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream problems;
    PlayerSettings s;
    const SettingSources sources = ReadSettings(in, "F", &s, problems);
    std::set<unsigned char> keys;
    for (const RacerKeys& k : {s.racer1, s.racer2}) {
        for (unsigned char key : {k.accelerate, k.hold, k.left, k.right}) {
            unsigned char read = 0;
            if (!ReadKey(KeyText(key), &read) || read != key || IsGameKey(key) ||
                !keys.insert(key).second) {
                std::abort();
            }
        }
    }
    if (s.volume < 0 || s.volume > kLoudestVolume || s.frameCap < 0 ||
        s.frameCap > kHighestFrameCap) {
        std::abort();
    }
    std::stringstream shown;
    std::ostringstream none, again;
    WriteSettings(s, sources, shown);
    PlayerSettings read;
    ReadSettings(shown, "F", &read, none);
    WriteSettings(read, sources, again);
    if (again.str() != shown.str() || !none.str().empty()) {
        std::abort();
    }
    return 0;
}
