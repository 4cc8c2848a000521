// The places the game's generator gives the items at every start.
#pragma once

#include <gtest/gtest.h>

#include "scene/World.h"

inline void ExpectStartUpPlaces(const World& world) {
    const int places[][3] = {{0, 41, 35}, {1, 190, 132}, {2, 225, 108}, {19, 139, 166}};
    for (const auto& place : places) {
        EXPECT_EQ(place[1], world._billboardX[place[0]]) << "item " << place[0];
        EXPECT_EQ(place[2], world._billboardZ[place[0]]) << "item " << place[0];
    }
}
