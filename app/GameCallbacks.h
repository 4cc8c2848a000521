// The GLUT callbacks of the game window: each reaches the one Game through g_game and
// forwards its arguments unchanged.
#pragma once

void displayCallback();
void idleCallback();
void reshapeCallback(int width, int height);
void keyboardCallback(unsigned char key, int x, int y);
void keyboardUpCallback(unsigned char key, int x, int y);
// F11 and the other keys without a character (arrows, function keys).
void specialCallback(int key, int x, int y);
// A menu entry's value acts as the key with that code; the Course submenu's values, from
// kFirstCourseValue, choose a course (app/CourseMenu.h).
void menuCallback(int value);
