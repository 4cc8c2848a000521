#include <gtest/gtest.h>

#include "TestClock.h"
#include "app/FrameSteps.h"
#include "app/Game.h"

// The key-driven rules of a racer, frame by frame, at times the test gives.
namespace {
class RacerUpdate : public ::testing::Test {
protected:
    void SetUp() override { StartRacer(camera); }

    // One frame's update at the given time, a tick long.
    void FrameAt(int millis) { UpdateRacer(racer, keys, static_cast<float>(millis), kOneTick); }
    // The speed after the frame at millis.
    float SpeedAt(int millis) {
        FrameAt(millis);
        return camera._speed;
    }
    void Press(unsigned char key) { keys[key] = 1; }
    // Presses key in the frame at time 0 and holds it into the frame at millis: the speed then.
    float HoldFromZero(unsigned char key, int millis) {
        Press(key);
        FrameAt(0);
        return SpeedAt(millis);
    }
    void Release(unsigned char key) { keys[key] = 0; }

    Racer racer;  // racer 1, on its keys
    Camera& camera = racer.camera;
    RacerRestart& restart = racer.restart;
    unsigned char keys[256] = {};
};
}  // namespace

TEST_F(RacerUpdate, SpeedGrowsWithTheTimeTheKeyIsHeld) {
    Press('w');
    EXPECT_EQ(0.0f, SpeedAt(0));  // a new press has been held for no time yet
    EXPECT_FLOAT_EQ(0.0025f, SpeedAt(1000));  // 0.005 x 0.5 x 1 s
    EXPECT_FLOAT_EQ(0.0025f + 0.0075f, SpeedAt(3000));  // 0.005 x 0.5 x 3 s
    EXPECT_EQ(0.0f, camera._accelStart);
    EXPECT_EQ(3000.0f, camera._accelNow);
    EXPECT_EQ(3.0f, camera._accelHeld);
    EXPECT_EQ(0.005f, camera._acceleration);
}

TEST_F(RacerUpdate, SpeedNeverExceedsHalfAUnitPerFrame) {
    EXPECT_FLOAT_EQ(0.25f, HoldFromZero('w', 100000));
    EXPECT_EQ(0.5f, SpeedAt(200000));
    EXPECT_EQ(0.5f, SpeedAt(200001));
}

TEST_F(RacerUpdate, ReleasedRacerSlowsByTheLastPressThenStopsAtExactlyZero) {
    ASSERT_FLOAT_EQ(0.005f, HoldFromZero('w', 2000));
    Release('w');

    // 0.00035 x 2 s per frame: seven frames leave a little speed, the eighth goes below 0.
    float previous = camera._speed;
    for (int frame = 1; frame <= 8; ++frame) {
        FrameAt(2000 + 16 * frame);
        EXPECT_NEAR(0.0007, previous - camera._speed, 1e-7) << "frame " << frame;
        previous = camera._speed;
    }
    EXPECT_EQ(0.0007f, camera._acceleration);
    EXPECT_LT(camera._speed, 0.0f);  // used for one frame: the racer moves back a little

    EXPECT_EQ(0.0f, SpeedAt(3000));
    EXPECT_EQ(0.0f, SpeedAt(4000));
}

TEST_F(RacerUpdate, HoldKeyKeepsTheSpeedAndThePressTiming) {
    ASSERT_FLOAT_EQ(0.0025f, HoldFromZero('w', 1000));

    Release('w');
    Press('s');
    FrameAt(5000);
    EXPECT_FLOAT_EQ(0.0025f, SpeedAt(90000));
    EXPECT_EQ(0.005f, camera._acceleration);

    // Pressing again continues the press that began at 0: 10 s held.
    Press('w');
    FrameAt(10000);
    EXPECT_EQ(10.0f, camera._accelHeld);
    EXPECT_FLOAT_EQ(0.0025f + 0.025f, camera._speed);
}

TEST_F(RacerUpdate, WallHitKeepsTheRacerStillUntilBothKeysWereUpForAFrame) {
    HoldFromZero('w', 1000);
    // What the wall step does to a racer on a blocked cell.
    camera._acceleration = 0.0f;
    camera._speed = 0.0f;

    FrameAt(2000);
    EXPECT_EQ(0.0f, SpeedAt(5000));

    Release('w');
    Press('s');
    FrameAt(6000);
    EXPECT_EQ(0.0f, camera._acceleration);

    Press('w');
    EXPECT_EQ(0.0f, SpeedAt(7000));

    Release('w');
    Release('s');
    FrameAt(8000);
    EXPECT_EQ(0.0007f, camera._acceleration);
    EXPECT_EQ(0.0f, camera._speed);

    Press('w');
    EXPECT_EQ(0.0f, SpeedAt(9000));  // a new press
    EXPECT_FLOAT_EQ(0.00035f, SpeedAt(10000));  // 0.0007 x 0.5 x 1 s
}

TEST_F(RacerUpdate, TurnGrowsToFiveHundredthsOfARadianPerFrameAfterOneSecond) {
    Press('a');
    FrameAt(0);
    EXPECT_EQ(0.0f, camera._heading);
    FrameAt(1000);
    EXPECT_FLOAT_EQ(-0.05f, camera._heading);
    FrameAt(2000);
    EXPECT_FLOAT_EQ(-0.15f, camera._heading);  // 0.1 more after two seconds

    // Released and pressed again: the turn starts slowly again.
    Release('a');
    FrameAt(2100);
    Press('a');
    FrameAt(2200);
    EXPECT_FLOAT_EQ(-0.15f, camera._heading);
    EXPECT_EQ(2200.0f, camera._turnStart);
}

TEST_F(RacerUpdate, OtherTurnDirectionRestartsTheSharedTiming) {
    HoldFromZero('a', 1000);
    Release('a');
    Press('d');
    FrameAt(1500);
    EXPECT_FLOAT_EQ(-0.05f, camera._heading);  // the right turn has just begun
    EXPECT_EQ(1500.0f, camera._turnStart);
    FrameAt(2500);
    EXPECT_NEAR(0.0f, camera._heading, 1e-7);
}

TEST_F(RacerUpdate, BothTurnKeysRestartEachOtherEveryFrame) {
    Press('a');
    Press('d');
    for (int frame = 0; frame < 10; ++frame) {
        FrameAt(frame * 1000);
        EXPECT_EQ(0.0f, camera._heading) << "frame " << frame;
        EXPECT_EQ(frame * 1000.0f, camera._turnStart);
    }
    EXPECT_FALSE(restart.rightRestart);
    EXPECT_TRUE(restart.leftRestart);
}

TEST(GameUpdate, EachRacerAnswersOnlyToItsOwnKeys) {
    TestClock clock;
    Game game;
    StartRacer(game._camera1);
    StartRacer(game._camera2);
    auto updateAt = [&](int millis) {
        clock.Set(millis);
        game.Update();
    };

    game._keys['i'] = 1;
    game._keys['l'] = 1;
    updateAt(0);
    updateAt(1000);
    EXPECT_FLOAT_EQ(0.0025f, game._camera2._speed);
    EXPECT_FLOAT_EQ(0.05f, game._camera2._heading);
    EXPECT_EQ(0.0f, game._camera1._speed);
    EXPECT_EQ(0.0f, game._camera1._heading);
    EXPECT_TRUE(game._racers[0].restart.accelRestart);

    // Racer 1 starts later and keeps its own press timing.
    game._keys['i'] = 0;
    game._keys['w'] = 1;
    updateAt(2000);
    updateAt(4000);
    // Racer 1 coasted in the first two frames, which set its factor to 0.0007.
    EXPECT_FLOAT_EQ(0.0007f, game._camera1._speed);  // 0.0007 x 0.5 x 2 s
    EXPECT_EQ(0.0007f, game._camera2._acceleration);
}
