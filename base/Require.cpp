#include "base/Require.h"

#include <cstdio>
#include <cstdlib>

void FailRequirement(const char* expression, const char* source) {
    std::fprintf(stderr, "Assertion failed: %s, file %s\n", expression, source);
    std::fflush(stderr);
    std::abort();
}
