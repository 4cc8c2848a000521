// Linked into the test binaries and the sanitizer build of the game only: shared libraries
// are never unloaded. The GL driver and some X modules are loaded on demand and unloaded at
// exit; kept, their allocations keep their module names in leak reports, which the
// suppression file can then match.
#include <dlfcn.h>

extern "C" int dlclose(void*) {
    return 0;
}
