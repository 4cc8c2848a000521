// A frame of the game cut into timed parts: the rows of the game's own frame table, each with
// glFinish around it so that each part's time includes the rasteriser's work for it. Only the
// benchmark draws frames this way.
#pragma once

class Game;

enum FramePart {
    kPartClear,    // glClear of the whole window
    kPartRules,    // key update, viewports, camera moves, frustum, animation, pick-ups, wall, ground
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
