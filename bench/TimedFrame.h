// A frame of the game cut into timed parts: the same steps, in the same order, as
// Game::Display, with glFinish around each part so that each part's time includes the
// rasteriser's work for it. Only the benchmark draws frames this way.
#pragma once

class Game;

enum FramePart {
    kPartClear,    // glClear of the whole window
    kPartRules,    // key update, camera moves, frustum, pick-ups, wall and ground steps
    kPartSky,
    kPartCourse,   // terrain, water and markers (Course::Draw)
    kPartText,     // the heads-up line
    kPartItems,    // the twenty billboards
    kPartSwap,     // fog values and the buffer swap
    kPartCount
};

extern const char* const kFramePartNames[kPartCount];

// Draws one frame and adds each part's time, in milliseconds, to `millis`.
// With `withoutMarkers` the marker display lists are swapped for the empty list 0 for this
// frame, so the course part times the terrain and water alone.
void DrawTimedFrame(Game& game, bool withoutMarkers, double millis[kPartCount]);
