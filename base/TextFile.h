// Opening a text file that the game reads at start-up, with the console lines that go with it.
#pragma once

#include <fstream>
#include <iosfwd>

// Opens fileName into `in` after writing "Reading <what> file '<fileName>'..." to the console.
// When the file cannot be opened, writes "<reader> - ERROR opening file." and returns false.
bool OpenTextFile(std::ifstream& in, const char* what, const char* fileName, const char* reader,
                  std::ostream& console);
