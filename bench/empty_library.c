// The size baseline for the hook library: a library with an entry function
// and one exported hook procedure that only calls the next hook, built with
// the same compiler, flags and static runtime.
#include <windows.h>

__declspec(dllexport) LRESULT CALLBACK EmptyHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(NULL, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
