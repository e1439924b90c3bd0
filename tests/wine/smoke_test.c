// The harness itself: a program runs under Wine, finds the hook library beside
// it, and reports through ok().
#include "wtest.h"

static void test_library_loads(void)
{
    HMODULE library = LoadLibraryA("LumoraHook.dll");
    ok(library != NULL, "LoadLibrary failed: %lu\n", GetLastError());
    ok(library && GetProcAddress(library, "Marquel_InstallHook") != NULL, "export missing\n");
}

WTEST_MAIN(test_library_loads)
