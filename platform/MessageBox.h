// A modal message box with one OK button. Tests replace it with a recorder.
#pragma once

// Shows the text under the caption and returns when the player dismisses it.
// Without a display the text goes to standard error instead.
void ShowMessageBox(const char* text, const char* caption);

using MessageBoxHandler = void (*)(const char* text, const char* caption);
// Replaces the box; nullptr brings back the real one.
void SetMessageBoxForTesting(MessageBoxHandler handler);
