// A fixed scene with about the game's load, drawn in the game's window between the game's own
// frames: per half a sky box, a 2112-vertex immediate-mode strip through a small GLSL pair,
// 300 display-list meshes of 150 triangles, 20 blended quads and one line of bitmap text.
// Its frame rate, measured beside the game's, turns the game's rate into a ratio that holds
// however busy the machine is. The view turns through a fixed cycle of directions, so that any
// run of a multiple of kViewsPerTurn frames draws the same load.
#pragma once

class ReferenceScene {
public:
    static constexpr int kViewsPerTurn = 20;

    // Builds textures, lists and the program in the current context.
    void Init();
    // One frame into a window of the given size, swapped.
    void Draw(int width, int height);

private:
    void DrawHalf(int width, int halfHeight, int originY, float eyeX, float eyeZ);

    unsigned _skyTexture = 0;
    unsigned _baseTexture = 0;
    unsigned _detailTexture = 0;
    unsigned _meshTexture = 0;
    unsigned _quadTexture = 0;
    unsigned _skyList = 0;
    unsigned _meshList = 0;
    unsigned _program = 0;
    int _frame = 0;     // frames drawn; the view is frame % kViewsPerTurn
    float _phase = 0.0f;  // the view's direction this frame, radians
};
