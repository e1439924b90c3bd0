// What the library's hook costs every sent message of a hooked thread.
// Measures SendMessageA to a window of the own thread (a) with no hook,
// (b) with an empty call-window-procedure-return hook that only calls the
// next one, and (c) with the library's hook installed for this thread, and
// prints nanoseconds per message and the ratios c/b and c/a. Also prints the
// sizes of library images named on the command line, each against an empty
// library of the same edition.
//
// usage: hook_bench [EMPTY_LIBRARY LIBRARY]...
//
// It prints; it never judges. The rounds of the three cases alternate and
// the fastest round of each counts, so that a busy machine disturbs all
// three alike.
#include <windows.h>
#include <stdio.h>

typedef int(__cdecl* InstallHookFunction)(int install, DWORD threadId);

#define ROUNDS 7
#define TARGET_ROUND_SECONDS 0.15

static HHOOK g_emptyHook;
static LARGE_INTEGER g_frequency;

static LRESULT CALLBACK EmptyHook(int code, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(g_emptyHook, code, wParam, lParam);
}

static LRESULT CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP)
        return wParam + 1;
    return DefWindowProcA(window, message, wParam, lParam);
}

static double seconds_since(LARGE_INTEGER start)
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)(now.QuadPart - start.QuadPart) / (double)g_frequency.QuadPart;
}

// Nanoseconds per message over `count` messages.
static double time_messages(HWND window, long count)
{
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    for (long i = 0; i < count; ++i)
        SendMessageA(window, WM_APP, (WPARAM)i, 0);
    return seconds_since(start) * 1e9 / (double)count;
}

enum { NO_HOOK, EMPTY_HOOK, LIBRARY_HOOK, CASES };

// Installs the hook of one case for this thread; false when that failed.
static BOOL install_case(int which, InstallHookFunction installHook)
{
    if (which == EMPTY_HOOK) {
        g_emptyHook = SetWindowsHookExA(WH_CALLWNDPROCRET, EmptyHook, NULL, GetCurrentThreadId());
        return g_emptyHook != NULL;
    }
    if (which == LIBRARY_HOOK)
        return installHook(1, GetCurrentThreadId()) == 1;
    return TRUE;
}

static void remove_case(int which, InstallHookFunction installHook)
{
    if (which == EMPTY_HOOK && g_emptyHook) {
        UnhookWindowsHookEx(g_emptyHook);
        g_emptyHook = NULL;
    }
    if (which == LIBRARY_HOOK)
        installHook(0, 0);
}

static DWORD image_size(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(path, GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
}

// Image sizes, in pairs: an empty library built with the same compiler,
// flags and static runtime (the floor any hook library of this toolchain
// starts from), then the library measured against it.
static void print_image_sizes(char** paths, int count)
{
    for (int i = 0; i + 1 < count; i += 2) {
        DWORD baseline = image_size(paths[i]);
        DWORD size = image_size(paths[i + 1]);
        if (baseline == 0 || size == 0) {
            printf("image %s or %s: not there\n", paths[i], paths[i + 1]);
            continue;
        }
        printf("image %s: %lu bytes, empty library %lu bytes, ratio %.2f\n", paths[i + 1], size, baseline,
               (double)size / baseline);
    }
}

int main(int argc, char** argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    QueryPerformanceFrequency(&g_frequency);

    HMODULE library = LoadLibraryA("LumoraHook.dll");
    InstallHookFunction installHook =
        library ? (InstallHookFunction)(void*)GetProcAddress(library, "Marquel_InstallHook") : NULL;
    if (!installHook) {
        printf("LumoraHook.dll or its export is missing (%lu)\n", GetLastError());
        return 1;
    }

    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.lpfnWndProc = BenchWindowProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "LumoraHookBench";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "LumoraHookBench", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL,
                                  GetModuleHandleA(NULL), NULL);
    if (!window) {
        printf("no window (%lu)\n", GetLastError());
        return 1;
    }

    // Size each case's rounds from a short trial of the dearest case.
    static const char* const names[CASES] = {"(a) no hook", "(b) empty hook", "(c) library hook"};
    long counts[CASES];
    for (int which = 0; which < CASES; ++which) {
        if (!install_case(which, installHook)) {
            printf("%s: could not be installed\n", names[which]);
            return 1;
        }
        double trial = time_messages(window, 500);
        remove_case(which, installHook);
        counts[which] = (long)(TARGET_ROUND_SECONDS * 1e9 / (trial > 1.0 ? trial : 1.0));
        if (counts[which] < 1000)
            counts[which] = 1000;
    }

    double best[CASES] = {0};
    for (int round = 0; round < ROUNDS; ++round) {
        for (int which = 0; which < CASES; ++which) {
            install_case(which, installHook);
            double perMessage = time_messages(window, counts[which]);
            remove_case(which, installHook);
            if (round == 0 || perMessage < best[which])
                best[which] = perMessage;
        }
    }

    printf("SendMessageA to a window of the own thread, fastest of %d rounds:\n", ROUNDS);
    for (int which = 0; which < CASES; ++which)
        printf("  %-18s %10.1f ns/message (%ld messages a round)\n", names[which], best[which], counts[which]);
    printf("ratio (c)/(b) library hook to empty hook: %.2f\n", best[LIBRARY_HOOK] / best[EMPTY_HOOK]);
    printf("ratio (c)/(a) library hook to no hook:    %.2f\n", best[LIBRARY_HOOK] / best[NO_HOOK]);
    printf("ratio (b)/(a) empty hook to no hook:      %.2f\n", best[EMPTY_HOOK] / best[NO_HOOK]);
    // (b) - (a) is what the platform spends on calling any hook at all;
    // (c) - (b) is the library's own share.
    printf("library's own share (c)-(b): %.1f ns/message; the platform's hook call (b)-(a): %.1f ns/message\n",
           best[LIBRARY_HOOK] - best[EMPTY_HOOK], best[EMPTY_HOOK] - best[NO_HOOK]);

    print_image_sizes(argv + 1, argc - 1);
    DestroyWindow(window);
    return 0;
}
