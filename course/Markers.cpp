#include "course/Course.h"

int32_t g_startX[kStartTableSize];
int32_t g_startY[kStartTableSize];
int32_t g_startCount = 0;

void Course::BuildMarkers() {}
void Course::ComputeCellSize() {}
GLuint Course::BuildPostList() { return 0; }
GLuint Course::BuildRopeList() { return 0; }
void Course::BuildPoleList() {}
void Course::DrawMarkers() {}
