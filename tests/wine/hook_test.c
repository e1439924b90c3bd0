// Hook lifetime: what Marquel_InstallHook answers and leaves in the shared
// handle, where the hook procedure sits in a thread's chain of
// call-window-procedure-return hooks and what it passes on, and the unload
// message, within this process and from another process.
//
// The chain is observed with two hooks of the test's own around the
// library's: "inner" is installed before it, so the platform calls it after
// the library's procedure (hooks run most recent first) and it sees exactly
// what the library passes on; "outer" is installed after it, so it calls the
// library's procedure through CallNextHookEx and gets back its result.
//
// Child roles (this program started again with an argument):
//   check-shared HANDLE  loads the library, expects HANDLE in the shared
//                        handle, and installs: 1, without a new hook
//   target               shows one hidden window until it is closed
#include "wtest.h"
#include "processes.h"

#include <stdlib.h>

__declspec(dllimport) int __cdecl Marquel_InstallHook(int install, DWORD threadId);

// No thread has this id: Wine and Windows hand out small multiples of four.
#define NO_SUCH_THREAD 0x7ffffffcu
#define WNDPROC_RESULT 0x4242
#define INNER_RESULT 0x5eed
#define TARGET_CLASS "LumoraHookTestTarget"
#define TARGET_READY_EVENT "LumoraHookTestTargetReady"

static UINT g_unload;
static HWND g_window;
static HHOOK volatile* g_slot;

// What the test's own hooks saw of the one message being watched.
static UINT g_watched;
static HHOOK g_innerHook, g_outerHook;
static struct {
    int calls;
    int code;
    WPARAM flag;
    const CWPRETSTRUCT* pointer;
    CWPRETSTRUCT seen;
} g_inner;
static struct {
    int calls;
    int code;
    WPARAM flag;
    const CWPRETSTRUCT* pointer;
    int passCode;          // the code the outer hook hands down the chain
    LRESULT nextResult;    // what the library's procedure returned to it
} g_outer;

static BOOL watching(const CWPRETSTRUCT* processed)
{
    return processed->message == g_watched && processed->hwnd == g_window;
}

// Installed before the library's hook, so called after it.
static LRESULT CALLBACK InnerHook(int code, WPARAM flag, LPARAM lParam)
{
    const CWPRETSTRUCT* processed = (const CWPRETSTRUCT*)lParam;
    if (watching(processed)) {
        ++g_inner.calls;
        g_inner.code = code;
        g_inner.flag = flag;
        g_inner.pointer = processed;
        g_inner.seen = *processed;
        return INNER_RESULT;
    }
    return CallNextHookEx(g_innerHook, code, flag, lParam);
}

// Installed after the library's hook, so called before it.
static LRESULT CALLBACK OuterHook(int code, WPARAM flag, LPARAM lParam)
{
    const CWPRETSTRUCT* processed = (const CWPRETSTRUCT*)lParam;
    if (code >= 0 && watching(processed)) {
        ++g_outer.calls;
        g_outer.code = code;
        g_outer.flag = flag;
        g_outer.pointer = processed;
        g_outer.nextResult = CallNextHookEx(g_outerHook, g_outer.passCode, flag, lParam);
        return g_outer.nextResult;
    }
    return CallNextHookEx(g_outerHook, code, flag, lParam);
}

static LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == g_watched && message != 0)
        return WNDPROC_RESULT;
    return DefWindowProcA(window, message, wParam, lParam);
}

static void reset_observations(UINT message, int passCode)
{
    ZeroMemory(&g_inner, sizeof g_inner);
    ZeroMemory(&g_outer, sizeof g_outer);
    g_outer.passCode = passCode;
    g_watched = message;
}

struct send_request {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

static DWORD WINAPI SendFromThread(void* parameter)
{
    struct send_request* request = parameter;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(request->window, request->message, request->wParam, request->lParam, SMTO_NORMAL, 5000,
                        &result);
    return 0;
}

// Sends to the test window, from this thread or from a second one while this
// thread goes on processing the messages sent to it.
static void send_watched(UINT message, WPARAM wParam, LPARAM lParam, BOOL fromOtherThread)
{
    if (!fromOtherThread) {
        SendMessageA(g_window, message, wParam, lParam);
        return;
    }
    struct send_request request = {g_window, message, wParam, lParam};
    HANDLE thread = CreateThread(NULL, 0, SendFromThread, &request, 0, NULL);
    wait_for_exit(thread, 10000);
    CloseHandle(thread);
}

static void remove_hook_if_held(void)
{
    if (g_slot && *g_slot)
        Marquel_InstallHook(0, 0);
}

static void test_install_and_remove_results(void)
{
    ok(g_slot != NULL, "the library has no Shared section\n");
    if (!g_slot)
        return;
    ok(*g_slot == NULL, "shared handle %p before any install\n", *g_slot);
    ok(Marquel_InstallHook(0, 0) == 0, "remove without a hook should return 0\n");

    // Refused by the platform: nothing is held, and removing then finds nothing.
    SetLastError(0xdeadbeef);
    ok(Marquel_InstallHook(1, NO_SUCH_THREAD) == 0, "install for a thread that does not exist should return 0\n");
    ok(*g_slot == NULL, "a refused install left %p in the shared handle\n", *g_slot);
    ok(Marquel_InstallHook(0, 0) == 0, "remove after a refused install should return 0\n");

    // The platform's answer to a removal is returned, and the handle cleared
    // all the same: here the hook was taken away behind the library's back.
    ok(Marquel_InstallHook(1, GetCurrentThreadId()) == 1, "install for this thread failed\n");
    HHOOK held = *g_slot;
    ok(held != NULL, "install returned 1 with a null shared handle\n");
    ok(UnhookWindowsHookEx(held), "the platform could not remove the library's hook: %lu\n", GetLastError());
    ok(Marquel_InstallHook(1, 0) == 1, "install with a stale handle held should return 1\n");
    ok(*g_slot == held, "install with a handle held replaced it: %p, was %p\n", *g_slot, held);
    ok(Marquel_InstallHook(0, 0) == 0, "a removal the platform refuses should return 0\n");
    ok(*g_slot == NULL, "a refused removal left %p in the shared handle\n", *g_slot);
    ok(Marquel_InstallHook(0, 0) == 0, "a second removal should return 0\n");
    remove_hook_if_held();
}

// Installing again while a hook is held installs nothing, whatever thread
// the second call names. A second hook would stay in this thread's chain
// after the one removal and swallow the unload message before "inner".
static void test_install_twice_holds_one_hook(void)
{
    if (!g_slot)
        return;
    g_innerHook = SetWindowsHookExA(WH_CALLWNDPROCRET, InnerHook, NULL, GetCurrentThreadId());
    ok(Marquel_InstallHook(1, GetCurrentThreadId()) == 1, "first install failed\n");
    HHOOK first = *g_slot;
    ok(Marquel_InstallHook(1, NO_SUCH_THREAD) == 1, "install with a hook held should return 1 for any thread\n");
    ok(Marquel_InstallHook(1, 0) == 1, "install with a hook held should return 1\n");
    ok(*g_slot == first, "shared handle changed from %p to %p\n", first, *g_slot);

    // While installed, the library's procedure answers the unload message
    // itself; that is what makes the count of hooks visible here.
    ok(Marquel_InstallHook(0, 0) != 0, "removing the hook failed\n");
    ok(*g_slot == NULL, "shared handle %p after removal\n", *g_slot);
    reset_observations(g_unload, HC_ACTION);
    SendMessageA(g_window, g_unload, 0, 0);
    ok(g_inner.calls == 1, "a library hook is still in the chain: inner saw the unload message %d times\n",
       g_inner.calls);
    ok(Marquel_InstallHook(0, 0) == 0, "a second removal should find no hook\n");
    UnhookWindowsHookEx(g_innerHook);
    remove_hook_if_held();
}

// What the library's procedure passes on, and what it answers, by message.
static void test_hook_procedure_in_chain(void)
{
    static const struct {
        const char* name;
        BOOL unload;           // the unload message rather than `message`
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        BOOL fromOtherThread;
        int passCode;
        BOOL passedOn;         // inner sees it and its result comes back
    } cases[] = {
        {"plain sent message", FALSE, WM_APP + 1, 0x1234, 0x5678, FALSE, HC_ACTION, TRUE},
        {"message sent from another thread", FALSE, WM_APP + 2, 0x9abc, 0xdef0, TRUE, HC_ACTION, TRUE},
        {"WM_INITDIALOG of a window that is no file dialog", FALSE, WM_INITDIALOG, 0, 0x1000, FALSE, HC_ACTION, TRUE},
        {"unload message with a negative hook code", TRUE, 0, 0, 0, FALSE, -1, TRUE},
        {"unload message from another thread", TRUE, 0, 7, 9, TRUE, HC_ACTION, FALSE},
    };
    if (!g_slot)
        return;

    g_innerHook = SetWindowsHookExA(WH_CALLWNDPROCRET, InnerHook, NULL, GetCurrentThreadId());
    ok(Marquel_InstallHook(1, GetCurrentThreadId()) == 1, "install for this thread failed\n");
    g_outerHook = SetWindowsHookExA(WH_CALLWNDPROCRET, OuterHook, NULL, GetCurrentThreadId());
    ok(g_innerHook && g_outerHook, "own hooks: %p %p\n", g_innerHook, g_outerHook);

    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        UINT message = cases[i].unload ? g_unload : cases[i].message;
        if (*g_slot == NULL) {
            skip("%s: the library's hook is gone already\n", cases[i].name);
            continue;
        }
        reset_observations(message, cases[i].passCode);
        send_watched(message, cases[i].wParam, cases[i].lParam, cases[i].fromOtherThread);
        ok(g_outer.calls == 1, "%s: outer hook called %d times\n", cases[i].name, g_outer.calls);
        if (cases[i].passedOn) {
            ok(g_inner.calls == 1, "%s: passed on %d times\n", cases[i].name, g_inner.calls);
            ok(g_outer.nextResult == INNER_RESULT, "%s: returned %#Ix, not the next hook's result\n",
               cases[i].name, g_outer.nextResult);
            ok(g_inner.code == cases[i].passCode, "%s: code %d passed on as %d\n", cases[i].name,
               cases[i].passCode, g_inner.code);
            ok(g_inner.flag == g_outer.flag, "%s: flag %#Ix passed on as %#Ix\n", cases[i].name, g_outer.flag,
               g_inner.flag);
            ok(g_inner.pointer == g_outer.pointer, "%s: structure %p passed on as %p\n", cases[i].name,
               g_outer.pointer, g_inner.pointer);
            ok(g_inner.seen.message == message && g_inner.seen.wParam == cases[i].wParam &&
                   g_inner.seen.lParam == cases[i].lParam && g_inner.seen.lResult == WNDPROC_RESULT &&
                   g_inner.seen.hwnd == g_window,
               "%s: structure changed: msg %#x wp %#Ix lp %#Ix result %#Ix hwnd %p\n", cases[i].name,
               g_inner.seen.message, g_inner.seen.wParam, g_inner.seen.lParam, g_inner.seen.lResult,
               g_inner.seen.hwnd);
            ok(*g_slot != NULL, "%s: the hook was removed\n", cases[i].name);
        } else {
            ok(g_inner.calls == 0, "%s: the next hook was called\n", cases[i].name);
            ok(g_outer.nextResult == 0, "%s: returned %#Ix, not 0\n", cases[i].name, g_outer.nextResult);
            ok(*g_slot == NULL, "%s: shared handle %p left\n", cases[i].name, *g_slot);
        }
    }

    // The procedure removed the hook itself: the chain now runs from outer
    // straight to inner.
    ok(Marquel_InstallHook(0, 0) == 0, "remove after the unload message should find no hook\n");
    reset_observations(g_unload, HC_ACTION);
    SendMessageA(g_window, g_unload, 0, 0);
    ok(g_inner.calls == 1 && g_outer.nextResult == INNER_RESULT,
       "after the unload message the library's procedure is still called: inner %d, result %#Ix\n", g_inner.calls,
       g_outer.nextResult);
    UnhookWindowsHookEx(g_outerHook);
    UnhookWindowsHookEx(g_innerHook);
    remove_hook_if_held();
}

// A second process that loads the library reads the same handle, and its own
// install call finds it and installs nothing.
static void test_shared_handle_seen_by_other_process(void)
{
    if (!g_slot)
        return;
    ok(Marquel_InstallHook(1, GetCurrentThreadId()) == 1, "install failed\n");
    HHOOK held = *g_slot;
    char arguments[64];
    snprintf(arguments, sizeof arguments, "check-shared %p", (void*)held);
    HANDLE child = start_process(NULL, arguments, NULL, (WORD)-1);
    ok(child != NULL, "could not start the child: %lu\n", GetLastError());
    if (child) {
        DWORD code = wait_for_exit(child, 20000);
        ok(code == 0, "the child process reported %lu failures\n", code);
        CloseHandle(child);
    }
    ok(*g_slot == held, "shared handle %p after the child, was %p\n", *g_slot, held);
    ok(Marquel_InstallHook(0, 0) != 0, "removing the hook failed\n");
    remove_hook_if_held();
}

// The unload message sent to a window of another hooked process removes the
// desktop-wide hook there, and so for every process.
static void test_unload_message_in_other_process(void)
{
    if (!g_slot)
        return;
    HANDLE ready = CreateEventA(NULL, TRUE, FALSE, TARGET_READY_EVENT);
    ok(Marquel_InstallHook(1, 0) == 1, "desktop-wide install failed\n");
    HHOOK held = *g_slot;
    HANDLE child = start_process(NULL, "target", NULL, (WORD)-1);
    ok(child != NULL, "could not start the child: %lu\n", GetLastError());
    if (!child) {
        remove_hook_if_held();
        CloseHandle(ready);
        return;
    }
    HANDLE waits[2] = {ready, child};
    ok(WaitForMultipleObjects(2, waits, FALSE, 20000) == WAIT_OBJECT_0, "the child's window did not appear\n");
    HWND target = FindWindowA(TARGET_CLASS, NULL);
    ok(target != NULL, "no window of the child\n");
    if (target) {
        DWORD_PTR result = 0;
        ok(SendMessageTimeoutA(target, g_unload, 0, 0, SMTO_NORMAL, 10000, &result) != 0,
           "the child did not answer the unload message\n");
        // Wine 8 replies to a message from another process as soon as the
        // window procedure has returned, before the receiver runs its
        // call-window-procedure-return hooks; Windows replies after them.
        // So the removal may still be under way in the child here.
        for (DWORD start = GetTickCount(); *g_slot != NULL && GetTickCount() - start < 5000;)
            Sleep(10);
        ok(*g_slot == NULL, "shared handle still %p after the child met the unload message\n", *g_slot);
        ok(Marquel_InstallHook(0, 0) == 0, "remove here should find no hook after the child removed it\n");
        SetLastError(0xdeadbeef);
        ok(!UnhookWindowsHookEx(held), "the hook still exists on the platform\n");
        PostMessageA(target, WM_CLOSE, 0, 0);
    }
    ok(wait_for_exit(child, 10000) == 0, "the child did not end properly\n");
    CloseHandle(child);
    CloseHandle(ready);
    remove_hook_if_held();
}

static int child_check_shared(const char* expected)
{
    void* handle = NULL;
    sscanf(expected, "%p", &handle);
    g_slot = shared_hook_slot(GetModuleHandleA("LumoraHook.dll"));
    ok(g_slot != NULL, "child: no Shared section\n");
    if (!g_slot)
        return 1;
    ok(*g_slot == (HHOOK)handle, "child: shared handle %p, the parent holds %p\n", *g_slot, handle);
    ok(Marquel_InstallHook(1, 0) == 1, "child: install with the parent's hook held should return 1\n");
    ok(*g_slot == (HHOOK)handle, "child: install replaced the handle by %p\n", *g_slot);
    return wtest_failed;
}

static LRESULT CALLBACK TargetWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

static int child_target(void)
{
    HWND window = create_window(TARGET_CLASS, TargetWindowProc);
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, TARGET_READY_EVENT);
    if (!window || !ready)
        return 1;
    SetEvent(ready);
    CloseHandle(ready);
    // Ends on WM_CLOSE, or by itself should the parent never send it.
    SetTimer(window, 1, 30000, NULL);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (msg.message == WM_TIMER)
            return 2;
        DispatchMessageA(&msg);
    }
    return 0;
}

int main(int argc, char** argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    g_unload = RegisterWindowMessageA("WM_UNLOAD_ALL_LUMORA_DLLS");
    if (argc > 2 && strcmp(argv[1], "check-shared") == 0)
        return child_check_shared(argv[2]);
    if (argc > 1 && strcmp(argv[1], "target") == 0)
        return child_target();

    g_slot = shared_hook_slot(GetModuleHandleA("LumoraHook.dll"));
    g_window = create_window("LumoraHookTestWindow", TestWindowProc);
    ok(g_window != NULL, "no test window\n");
    wtest_function tests[] = {
        test_install_and_remove_results,   test_install_twice_holds_one_hook,
        test_hook_procedure_in_chain,      test_shared_handle_seen_by_other_process,
        test_unload_message_in_other_process,
    };
    return wtest_run(__FILE__, tests, (int)(sizeof tests / sizeof tests[0]));
}
