// The small textures of the course markers: wood for the posts, twisted rope, the red and
// white race poles, and the course quad image.
#pragma once

#include "Canvas.h"

Canvas PostWood();
Canvas RopeStrands();
Canvas PoleStripes();
// A chequered flag, 128 x 128, for the raw course quad image.
Canvas CourseQuad();
