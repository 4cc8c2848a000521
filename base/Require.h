// Fatal checks of programming preconditions. A failed check prints the expression
// and the source it guards, then stops the program: these are bugs, never bad input.
#pragma once

[[noreturn]] void FailRequirement(const char* expression, const char* source);

#define KR_REQUIRE(expression, source)                                                             \
    ((expression) ? (void)0 : FailRequirement(#expression, source))
