// The course markers: their textures and display lists, the build that lays them out, and the
// drawing of the race poles and of the posts and ropes in view. A marker texture that fails to
// load keeps the name 0 and its list binds OpenGL's default texture; the build goes on.
#include "terrain/Course.h"

#include "course/MarkerMeshes.h"
#include "course/Fence.h"
#include "course/MarkerPlacement.h"
#include "course/QuadTree.h"
#include "course/RopeTable.h"

namespace {
// One display list that binds the texture and sends the mesh's triangles.
GLuint CompileMesh(const MarkerMesh& mesh, const Texture& texture) {
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glBindTexture(GL_TEXTURE_2D, texture.GetId());
    glBegin(GL_TRIANGLES);
    for (int32_t face = 0; face < mesh.faceCount; ++face) {
        const uint8_t* corners = mesh.faces[face];
        for (int corner = 0; corner < 3; ++corner) {
            glNormal3fv(mesh.normals[corners[3 + corner]]);
            glTexCoord2fv(mesh.texCoords[corners[6 + corner]]);
            glVertex3fv(mesh.vertices[corners[corner]]);
        }
    }
    glEnd();
    glEndList();
    return list;
}
}  // namespace

void Course::BuildMarkers() {
    // The course quad image is loaded and kept, but nothing draws with it.
    LoadTexture(_courseQuadTexture, ImageFile::Raw, "terrain_data/CourseQuad.raw");
    // Edges clamped, so that the meshes' coordinates outside 0..1 repeat the border texels.
    LoadTexture(_postTexture, ImageFile::Tiff, "terrain_data/Post.tif");
    BuildPostList();
    LoadTexture(_ropeTexture, ImageFile::Tiff, "terrain_data/Rope.tif");
    _ropeList = BuildRopeList();
    LoadTexture(_poleTexture, ImageFile::Tiff, "terrain_data/RacePole.tif");
    BuildPoleList();
    LayOutMarkers(*this);
    // Room for every marker of the quadtree, also those the course file brought along.
    delete[] _visibleX;
    delete[] _visibleY;
    _visibleX = new int32_t[_quadTree.markerCount];
    _visibleY = new int32_t[_quadTree.markerCount];
    _visibleCountX = 0;
    _visibleCountY = 0;
}

GLuint Course::BuildPostList() {
    _postList = CompileMesh(kPostMesh, _postTexture);
    return _postList;
}

// Unlike BuildPostList this does not store its list: BuildMarkers puts it in _ropeList.
GLuint Course::BuildRopeList() {
    return CompileMesh(kRopeMesh, _ropeTexture);
}

void Course::BuildPoleList() {
    _poleList = CompileMesh(kPoleMesh, _poleTexture);
}

// Before the first update every plane is zero, so the start-up pass draws every marker.
void Course::UpdateFrustum() {
    float projection[16];
    float modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    _frustum.Update(projection, modelview);
}

MarkerLists Course::LeaveOutMarkers() {
    const MarkerLists drawn{_poleList, _postList, _ropeList};
    PutBackMarkers(MarkerLists{0, 0, 0});
    return drawn;
}

void Course::PutBackMarkers(const MarkerLists& lists) {
    _poleList = lists.pole;
    _postList = lists.post;
    _ropeList = lists.rope;
}

void Course::CollectVisible() {
    _visibleCountX = CollectVisibleMarkers(_quadTree, _frustum, _visibleX, _visibleY);
    _visibleCountY = _visibleCountX;
}

namespace {
// A race pole, upright, 5 units tall around the marker height.
void DrawRacePole(const WorldSpot& spot, GLuint poleList) {
    glPushMatrix();
    glTranslatef(spot.x, kMarkerHeight, spot.z);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    glScalef(5.0f, 5.0f, 5.0f);
    glCallList(poleList);
    glEnable(GL_LIGHTING);
    glPopMatrix();
}

// The rope lies along the placement's direction; its length axis is the mesh's x.
void DrawRope(const RopePlacement& rope, GLuint ropeList, GLuint ropeTexture) {
    glPushMatrix();
    glTranslatef(2.0f * rope.along, 0.0f, 2.0f * rope.across);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glScalef(rope.length, 2.0f, 2.0f);
    glBindTexture(GL_TEXTURE_2D, ropeTexture);
    glCallList(ropeList);
    glPopMatrix();
}

// The post stands with the mesh's z upright, 5 units tall.
void DrawPost(GLuint postList, GLuint postTexture) {
    glPushMatrix();
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    glScalef(2.0f, 2.0f, kPostHeight);
    glBindTexture(GL_TEXTURE_2D, postTexture);
    glCallList(postList);
    glPopMatrix();
}
}  // namespace

void Course::DrawMarkers() {
    WorldSpot poles[2];
    const int32_t poleCount = PlaceRacePoles(g_startX, g_startY, g_startCount, _cellSize, poles);
    for (int32_t i = 0; i < poleCount; ++i) {
        DrawRacePole(poles[i], _poleList);
    }

    CollectVisible();
    for (int32_t i = 0; i < _visibleCountX; ++i) {
        const int32_t x = _visibleX[i];
        const int32_t y = _visibleY[i];
        // The layout placed every marker's rope; a grid changed since has the first values.
        const FenceRope* laid = RopeOfMarker(_fence, x, y);
        const RopePlacement rope = laid ? laid->placement : FirstRopePlacement();
        glPushMatrix();
        glTranslatef(static_cast<float>(x) * _cellSize, kMarkerHeight,
                     static_cast<float>(y) * _cellSize);
        glDisable(GL_LIGHTING);
        glEnable(GL_TEXTURE_2D);
        glRotatef(static_cast<float>(rope.angle), 0.0f, 1.0f, 0.0f);
        DrawRope(rope, _ropeList, _ropeTexture.GetId());
        DrawPost(_postList, _postTexture.GetId());
        glEnable(GL_LIGHTING);
        glPopMatrix();
    }
}
