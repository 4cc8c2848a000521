// The twenty pick-up items: camera-facing squares animated through five images, placed and
// re-placed by the game's own generator. A missing image only prints its line and leaves
// that image at texture 0; nothing else here can fail.
#include <cstdio>
#include <cstdlib>

#include "base/Require.h"
#include "course/Fence.h"
#include "scene/Random.h"
#include "scene/World.h"

int32_t g_itemFrame = 0;

namespace {
constexpr int kFramesPerImage = 10;
constexpr int kItemRadius = 3;
// Draws of a place on the course before the last one drawn stands wherever it is: far more
// than any course needs (a course a tenth inside the fence misses 256 times once in 10^11),
// and an end for a course with no ground inside its fence.
constexpr int kCourseDraws = 256;

// A fresh place on the terrain grid, 0 to 255.
int32_t RandomPlace() {
    return NextRandom() % kTerrainSize;
}
}  // namespace

// x, then z, from the generator; on the course, again until the place is inside the fence.
void World::DrawItemPlace(int item) {
    for (int draw = 1;; ++draw) {
        _billboardX[item] = RandomPlace();
        _billboardZ[item] = RandomPlace();
        if (!_itemsOnCourse || draw == kCourseDraws ||
            IsInsideFence(_course, static_cast<float>(_billboardX[item]),
                          static_cast<float>(_billboardZ[item]))) {
            return;
        }
    }
}

void World::InitBillboards() {
    for (int i = 0; i < kItemImages; ++i) {
        char name[1024];
        std::snprintf(name, sizeof name, "terrain_data/bb%d.raw", i);
        LoadTexture(_billboardTextures[i], ImageFile::Raw, name);
    }
    BuildBillboardList();
    PlaceItems();
}

void World::PlaceItems() {
    for (int i = 0; i < kItemCount; ++i) {
        DrawItemPlace(i);
    }
    _pickupRadius = kItemRadius;
}

void World::LeaveOutItems() {
    _billboardList = 0;
}

void World::BuildBillboardList() {
    _billboardList = glGenLists(1);
    glNewList(_billboardList, GL_COMPILE);
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-1.0f, -1.0f, -1.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(1.0f, -1.0f, -1.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(1.0f, 1.0f, -1.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-1.0f, 1.0f, -1.0f);
    glEnd();
    glEndList();
}

void World::DrawBillboard(float x, float y, float z, int frame) {
    KR_REQUIRE(frame >= 0 && frame < kItemImages * kFramesPerImage, "billboards");
    glPushMatrix();
    glDisable(GL_LIGHTING);
    glTranslatef(x, y, z);
    glEnable(GL_TEXTURE_2D);
    BeginBillboard();
    glPushMatrix();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindTexture(GL_TEXTURE_2D, _billboardTextures[frame / kFramesPerImage].GetId());
    glCallList(_billboardList);
    glDisable(GL_BLEND);
    glPopMatrix();
    EndBillboard();
    glEnable(GL_LIGHTING);
    glPopMatrix();
}

// Keeps the modelview's translation and drops its rotation and scale, so that what follows
// is drawn parallel to the screen.
void World::BeginBillboard() {
    glPushMatrix();
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row) {
            m[4 * column + row] = column == row ? 1.0f : 0.0f;
        }
    }
    glLoadMatrixf(m);
}

void World::EndBillboard() {
    glPopMatrix();
}

// Items are examined in order; one that moved is not looked at again in this step.
int World::CollectPickups(float eyeX, float eyeZ) {
    const int32_t x = static_cast<int32_t>(eyeX);
    const int32_t z = static_cast<int32_t>(eyeZ);
    int collected = 0;
    for (int i = 0; i < kItemCount; ++i) {
        if (std::abs(x - _billboardX[i]) < _pickupRadius &&
            std::abs(z - _billboardZ[i]) < _pickupRadius) {
            DrawItemPlace(i);
            ++collected;
        }
    }
    return collected;
}
