#include "base/TextFile.h"

#include <iostream>

bool OpenTextFile(std::ifstream& in, const char* what, const char* fileName, const char* reader) {
    std::cout << "Reading " << what << " file '" << fileName << "'..." << std::endl;
    in.open(fileName);
    if (!in.good()) {
        std::cout << reader << " - ERROR opening file." << std::endl;
        return false;
    }
    return true;
}
