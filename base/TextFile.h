// Opening a text file that the game reads at start-up, with the console lines that go with it.
#pragma once

#include <fstream>

// Opens fileName into `in` after printing "Reading <what> file '<fileName>'...". When the file
// cannot be opened, prints "<reader> - ERROR opening file." and returns false.
bool OpenTextFile(std::ifstream& in, const char* what, const char* fileName, const char* reader);
