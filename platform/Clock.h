// The game's one reading of time: milliseconds since GLUT started. Tests swap in a clock
// of their own so that time-driven rules can be checked frame by frame.
#pragma once

int ElapsedMillis();

// Replaces the clock; nullptr brings back GLUT's elapsed time.
void SetClockForTesting(int (*clock)());
