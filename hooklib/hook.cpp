// Hook lifetime. The host installs one WH_CALLWNDPROCRET hook for the whole
// desktop through Marquel_InstallHook; the platform then loads this library
// into every process whose windows receive sent messages and calls HookProc
// there after each one. HookProc hands WM_INITDIALOG to the dialog code and
// answers the unload message by removing the hook for everyone.

#include "hook.h"

#include "dialog.h"
#include "names.h"
#include "platform.h"

// The hook handle is the one value every process shares: each process that
// meets the unload message removes the hook through it. Initialised so that it
// is stored in the image, in a section of its own marked shared.
HHOOK g_hookHandle __attribute__((section("Shared"), shared)) = nullptr;

// Registered during static initialisation, before DllMain runs. A failed
// registration gives 0, which is WM_NULL; no sent message can equal ~0u.
static UINT RegisterUnloadMessage()
{
    UINT message = RegisterWindowMessageA(LUMORA_UNLOAD_MESSAGE_NAME);
    return message != 0 ? message : ~0u;
}

// Module state, private to each process.
HINSTANCE g_instance = nullptr;
static const UINT g_unloadMessage = RegisterUnloadMessage();

static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);

// Process attach: remember the module and classify the release. Nothing here
// loads a library or waits, since the loader lock is held.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_instance = instance;
        ClassifyPlatform();
    }
    return TRUE;
}

// Results: install with a hook held, 1 (nothing done); install, 1 when the
// platform granted the hook, else 0; remove with none held, 0; remove, the
// platform's answer, the handle cleared in any case.
extern "C" int __cdecl Marquel_InstallHook(int install, DWORD threadId)
{
    if (install != 0) {
        if (g_hookHandle != nullptr)
            return 1;
        g_hookHandle = SetWindowsHookExA(WH_CALLWNDPROCRET, HookProc, g_instance, threadId);
        return g_hookHandle != nullptr ? 1 : 0;
    }
    if (g_hookHandle == nullptr)
        return 0;
    BOOL removed = UnhookWindowsHookEx(g_hookHandle);
    g_hookHandle = nullptr;
    return removed;
}

// Called after every sent message that a window procedure of a hooked thread
// has processed. The common path is a few comparisons and the next hook.
static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0) {
        const CWPRETSTRUCT* processed = (const CWPRETSTRUCT*)lParam;
        if (processed->message == g_unloadMessage) {
            Marquel_InstallHook(0, 0);
            return 0;
        }
        if (processed->message == WM_INITDIALOG)
            RecogniseDialog(processed->lParam, processed->hwnd);
    }
    return CallNextHookEx(g_hookHandle, code, wParam, lParam);
}
