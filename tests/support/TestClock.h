// The game's clock replaced by one the test sets, while the object lives.
#pragma once

#include "platform/Clock.h"

class TestClock {
public:
    explicit TestClock(int startMillis = 0) {
        s_now = startMillis;
        SetClockForTesting(Read);
    }
    ~TestClock() { SetClockForTesting(nullptr); }
    TestClock(const TestClock&) = delete;
    TestClock& operator=(const TestClock&) = delete;

    void Set(int millis) { s_now = millis; }

private:
    static int Read() { return s_now; }
    static inline int s_now = 0;
};
