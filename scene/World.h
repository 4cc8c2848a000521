// The scene: owns the course, the sky box and the twenty pick-up items, sets the render
// state at start-up, and draws the items and the heads-up line on request.
#pragma once

#include <cstdint>

#include <GL/gl.h>

#include "terrain/Course.h"
#include "scene/Skybox.h"
#include "texture/Texture.h"

constexpr int kItemCount = 20;
constexpr int kItemImages = 5;

// Animation counter of the items: 0..40, advanced a step a tick, in the first half of a frame.
extern int32_t g_itemFrame;
// The heads-up line shown in both halves.
extern char g_hudText[64];

class World {
public:
    World();
    virtual ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    bool Init(const char* skyboxPath, const char* courseFile);
    bool Init();

    // The items' part of Init(): the five images, the item list, the places, the pick-up radius.
    void InitBillboards();
    // Places the twenty items with the game's generator (x, then z, for each item in turn), to
    // be picked up within the pick-up radius. With _itemsOnCourse, a place outside the fence
    // is drawn again.
    void PlaceItems();
    // A fresh place for one item.
    void DrawItemPlace(int item);
    void BuildBillboardList();
    void DrawBillboard(float x, float y, float z, int frame);
    void BeginBillboard();
    void EndBillboard();
    // Moves the items the racer at (eyeX, eyeZ) has reached to fresh places, drawn as
    // PlaceItems draws them; returns how many.
    int CollectPickups(float eyeX, float eyeZ);

    // The line both halves show, then the racer's own words (`racerText`) after it, in racer
    // 1's half (the top) or racer 2's.
    void DrawHud(int racer, const char* racerText = "");
    void BeginOverlay();
    void EndOverlay();
    void DrawText(float x, float y, void* font, const char* text);
    // Counts one overlay draw at time now and refreshes g_hudText when more than a second passed.
    void CountHudDraw(int32_t now);

    Course& GetCourse() { return _course; }
    const Course& GetCourse() const { return _course; }
    // For the benchmark: the sky box's or the items' display list swapped for the empty list 0
    // for good, so that every frame makes the same calls but draws nothing of that part.
    void LeaveOutSky();
    void LeaveOutItems();

    float _lightPosition[3] = {0, 0, 0};
    int32_t _pickupRadius = 0;
    bool _itemsOnCourse = false;  // items only where a racer can drive; set before Init
    float _fogColor[4] = {0, 0, 0, 0};
    GLint _fogMode = 0;
    int32_t _hudWidth = 0;
    int32_t _hudHeight = 0;
    void* _hudFont = nullptr;
    int32_t _hudNow = 0;
    int32_t _hudLastUpdate = 0;
    int32_t _hudFrames = 0;
    int32_t _billboardX[kItemCount] = {};
    int32_t _billboardZ[kItemCount] = {};
    GLuint _billboardList = 0;
    Texture _billboardTextures[kItemImages];
    Skybox _skybox;
    Course _course;
};
