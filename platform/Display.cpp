#include "platform/Display.h"

bool DisplayAvailable() { return true; }
