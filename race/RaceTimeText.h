// Race times as the player reads them: race time in ticks (a 60th of a second) shown to the
// hundredth, rounded to the nearest.
#pragma once

#include <string>

// "m:ss.hh": "0:19.88", "1:02.35", "75:00.00"; "-:--.--" for no time (negative, not a
// number, or 100 hours and more).
std::string RaceTimeText(float ticks);

// A gap between racers or against a record: "+1.42", "-0.07", "+1:02.35" from a minute on;
// "+-:--.--" for no gap.
std::string GapText(float ticks);
