#include "course/Course.h"

bool Course::ReadRaw(unsigned char*, const char*, int32_t, int32_t) { return false; }
int32_t Course::GetHeight(const unsigned char*, int32_t, int32_t) { return 0; }
void Course::FaceNormal(const Vec3[3], Vec3& normal) { normal = Vec3{}; }
void Course::Normalize(Vec3&) {}
Vec3 Course::VertexNormal(const unsigned char*, int32_t, int32_t) { return Vec3{}; }
