#include "platform/MessageBox.h"

void ShowMessageBox(const char*, const char*) {}
void SetMessageBoxForTesting(MessageBoxHandler) {}
