// kestrun-settings: the launcher's reader of what a player sets, by the game's own rules, so
// that the launcher and the game never disagree about a value.
//   kestrun-settings --volume VALUE   prints the volume VALUE stands for (status 0), or
//                                     nothing when the game would not take it (status 1)
#include <cstring>
#include <iostream>

#include "base/Settings.h"

namespace {
const char* const kUsage = "usage: kestrun-settings --volume VALUE";
}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--volume") == 0) {
        int volume = 0;
        if (!ReadVolume(argv[2], &volume)) {
            return 1;
        }
        std::cout << volume << std::endl;
        return 0;
    }
    std::cerr << kUsage << std::endl;
    return 2;
}
