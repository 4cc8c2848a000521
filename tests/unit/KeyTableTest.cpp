#include <gtest/gtest.h>

#include <string>

#include "ConsoleCapture.h"
#include "VirtualPads.h"
#include "app/Game.h"
#include "app/GameCallbacks.h"

// Both racers' entries accelerate, hold, left, right in a key table: "1" held, "." not.
static std::string Held(const unsigned char* keys, const PlayerSettings& settings = {}) {
    std::string held;
    for (const RacerKeys& racer : {settings.racer1, settings.racer2}) {
        for (unsigned char key : {racer.accelerate, racer.hold, racer.left, racer.right}) {
            held += keys[key] ? '1' : '.';
        }
    }
    return held;
}

TEST(KeyTable, PressAndReleaseThroughTheCallbacks) {
    Game game;
    keyboardCallback('w', 10, 20);
    keyboardCallback('l', 0, 0);
    EXPECT_EQ(1, game._keys['w']);
    EXPECT_EQ(1, game._keys['l']);
    EXPECT_EQ(0, game._keys['W']); // upper case is a key of its own
    keyboardUpCallback('w', 0, 0);
    EXPECT_EQ(0, game._keys['w']);
    EXPECT_EQ(1, game._keys['l']);
    keyboardCallback('W', 0, 0);
    EXPECT_EQ(1, game._keys['W']);
    EXPECT_EQ(0, game._keys['w']);
    keyboardCallback(255, 0, 0);
    EXPECT_EQ(1, game._keys[255]);
}

TEST(KeyTable, SnapshotKeyAndMenuEntryPrintTheTwoLinesOnly) {
    Game game;
    ConsoleCapture capture;
    keyboardCallback('c', 0, 0);
    menuCallback('c');
    EXPECT_EQ("Saving screen snapshot to: snapshot.jpg\n"
              "Game::_CaptureImage() needs 'libvornel'\n"
              "Saving screen snapshot to: snapshot.jpg\n"
              "Game::_CaptureImage() needs 'libvornel'\n",
              capture.Text());
    EXPECT_EQ(0, game._keys['c']);
    keyboardCallback('C', 0, 0); // upper case is no snapshot
    EXPECT_EQ(1, game._keys['C']);
}

TEST(KeyTable, ReleasingTheSpecialKeysClearsTheirEntries) {
    Game game;
    game._keys['c'] = game._keys['q'] = game._keys[27] = 1;
    for (int key : {int('c'), int('q'), 27}) {
        keyboardUpCallback(static_cast<unsigned char>(key), 0, 0);
        EXPECT_EQ(0, game._keys[key]);
    }
}

TEST(KeyTable, InformationalMenuEntriesOnlySetEntryZero) {
    Game game;
    menuCallback(0);
    EXPECT_EQ(1, game._keys[0]);
    menuCallback('w');
    EXPECT_EQ(1, game._keys['w']);
}

TEST(KeyTable, EscapeQAndMenuQuitEndTheProcessWithStatusZero) {
    Game game;
    EXPECT_EXIT(keyboardCallback('q', 0, 0), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(keyboardCallback(27, 0, 0), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(menuCallback('q'), ::testing::ExitedWithCode(0), "");
    keyboardCallback('Q', 0, 0); // upper case does not quit
    EXPECT_EQ(1, game._keys['Q']);
}

// Virtual pads, read by the game's own polling, hold their racer's entries of the pad table,
// with the default keys and with keys of the players' own.
TEST(PadKeyTable, EachControlHoldsItsEntryForThePadsRacerOnly) {
    Game game;
    ASSERT_TRUE(game._gamepads.Start());
    constexpr int kLT = SDL_CONTROLLER_AXIS_TRIGGERLEFT, kRT = SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
    constexpr int kX = SDL_CONTROLLER_AXIS_LEFTX;
    // Triggers rest at -32768 and read 16383 (not past half way) at 0, 16384 at 1.
    struct Row { int button, axis, value; const char* held; };
    const Row rows[] = {
        {SDL_CONTROLLER_BUTTON_A, -1, 1, "1..."}, {SDL_CONTROLLER_BUTTON_B, -1, 1, ".1.."},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, -1, 1, "..1."},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, -1, 1, "...1"},
        {-1, kRT, 1, "1..."}, {-1, kRT, 0, "...."}, {-1, kLT, 1, ".1.."}, {-1, kLT, 0, "...."},
        {-1, kX, -8193, "..1."}, {-1, kX, -8192, "...."}, {-1, kX, 8192, "...."},
        {-1, kX, 8193, "...1"}, {-1, SDL_CONTROLLER_AXIS_RIGHTX, 32767, "...."},
        {SDL_CONTROLLER_BUTTON_START, -1, 1, "...."}, {SDL_CONTROLLER_BUTTON_X, -1, 1, "...."},
    };
    SDL_Joystick* pads[2] = {PlugPad("Pad One"), PlugPad("Pad Two")};
    PlayerSettings own;
    own.racer1 = {'z', 'x', '4', 0xe9};
    own.racer2 = {'W', 'S', 'A', 'D'};
    for (int pass = 0; pass < 4; ++pass) {
        const int racer = pass % 2;
        game._settings = pass < 2 ? PlayerSettings() : own;
        for (const Row& row : rows) {
            for (bool pressed : {true, false}) {
                SDL_JoystickSetVirtualButton(pads[racer], row.button, pressed);
                const int rest = row.axis >= kLT ? -32768 : 0;
                SDL_JoystickSetVirtualAxis(pads[racer], row.axis, pressed ? row.value : rest);
                game.PollGamepads();
                const std::string held = pressed ? row.held : "....";
                EXPECT_EQ(racer == 0 ? held + "...." : "...." + held,
                          Held(game._padKeys, game._settings))
                    << "racer " << racer + 1 << ", row " << &row - rows << ", pressed " << pressed
                    << ", own keys " << (pass >= 2);
            }
        }
    }
}

TEST(PadKeyTable, UnpluggedPadLetsGoAndAWaitingPadTakesItsRacer) {
    Game game;
    ASSERT_TRUE(game._gamepads.Start());
    ConsoleCapture console;
    SDL_JoystickSetVirtualButton(PlugPad("Pad One"), SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickSetVirtualButton(PlugPad("Pad Two"), SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickSetVirtualButton(PlugPad("Pad Three"), SDL_CONTROLLER_BUTTON_B, 1);
    game.PollGamepads();
    EXPECT_EQ("1...1...", Held(game._padKeys));  // the third pad waits
    SDL_JoystickDetachVirtual(1);  // the second pad
    game.PollGamepads();
    EXPECT_EQ("1....1..", Held(game._padKeys));
    SDL_JoystickDetachVirtual(1);  // the third
    game.PollGamepads();
    EXPECT_EQ("1.......", Held(game._padKeys));
    PlugPad("Pad Four");
    game.PollGamepads();
    SDL_JoystickDetachVirtual(0);  // racer 1's pad
    game.PollGamepads();
    EXPECT_EQ("........", Held(game._padKeys));
    SDL_JoystickSetVirtualButton(PlugPad("Pad Five"), SDL_CONTROLLER_BUTTON_B, 1);
    game.PollGamepads();
    EXPECT_EQ(".1......", Held(game._padKeys));
    EXPECT_EQ("Racer 1: gamepad Pad One\nRacer 2: gamepad Pad Two\nRacer 2: gamepad removed\n"
              "Racer 2: gamepad Pad Three\nRacer 2: gamepad removed\nRacer 2: gamepad Pad Four\n"
              "Racer 1: gamepad removed\nRacer 1: gamepad Pad Five\n",
              console.Text());
}

// A wheel and a flight stick are joysticks but no game controllers: the pads after them still
// take racers 1 and 2.
TEST(PadKeyTable, JoysticksThatAreNoPadsLeaveTheRacersToThePads) {
    Game game;
    ASSERT_TRUE(game._gamepads.Start());
    ConsoleCapture console;
    for (SDL_JoystickType type : {SDL_JOYSTICK_TYPE_WHEEL, SDL_JOYSTICK_TYPE_FLIGHT_STICK}) {
        SDL_JoystickSetVirtualButton(PlugPad("Not A Pad", type), 0, 1);
        game.PollGamepads();
        ASSERT_FALSE(SDL_IsGameController(SDL_NumJoysticks() - 1));
    }
    SDL_JoystickSetVirtualButton(PlugPad("Pad One"), SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickSetVirtualButton(PlugPad("Pad Two"), SDL_CONTROLLER_BUTTON_B, 1);
    game.PollGamepads();
    EXPECT_EQ("1....1..", Held(game._padKeys));
    EXPECT_EQ("Racer 1: gamepad Pad One\nRacer 2: gamepad Pad Two\n", console.Text());
}
