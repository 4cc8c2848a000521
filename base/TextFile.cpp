// Opening a text file that the game reads at start-up, with the console lines that go with it.
#include "base/TextFile.h"

#include <ostream>

bool OpenTextFile(std::ifstream& in, const char* what, const char* fileName, const char* reader,
                  std::ostream& console) {
    console << "Reading " << what << " file '" << fileName << "'..." << std::endl;
    in.open(fileName);
    if (!in.good()) {
        console << reader << " - ERROR opening file." << std::endl;
        return false;
    }
    return true;
}
