// A small conformance-test frame for the Wine tests, in the platform's own
// manner: ok(condition, format, ...) reports a failure with file and line,
// skip() says why a check cannot run here, and the program ends with a
// "N passed, N failed" line and exit code 1 when anything failed.
//
// Each test program lists its tests with START_TEST-style functions:
//     static void test_something(void) { ok(1 + 1 == 2, "sum %d\n", 2); }
//     WTEST_MAIN(test_something, test_other)
#pragma once

#include <windows.h>
#include <stdarg.h>
#include <stdio.h>

static int wtest_passed, wtest_failed, wtest_skipped;
static const char* wtest_file;
static int wtest_line;

static inline void wtest_report(int condition, const char* format, ...)
{
    if (condition) {
        ++wtest_passed;
        return;
    }
    ++wtest_failed;
    printf("%s:%d: Test failed: ", wtest_file, wtest_line);
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    fflush(stdout);
}

static inline void wtest_skip(const char* format, ...)
{
    ++wtest_skipped;
    printf("%s:%d: Tests skipped: ", wtest_file, wtest_line);
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    fflush(stdout);
}

#define ok (wtest_file = __FILE__, wtest_line = __LINE__), wtest_report
#define skip (wtest_file = __FILE__, wtest_line = __LINE__), wtest_skip

// Runs the posted and sent messages of this thread for about ms milliseconds.
static inline void pump_messages(DWORD ms)
{
    DWORD end = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    } while ((LONG)(GetTickCount() - end) < 0);
}

typedef void (*wtest_function)(void);

static inline int wtest_run(const char* name, wtest_function* tests, int count)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    for (int i = 0; i < count; ++i)
        tests[i]();
    printf("%s: %d passed, %d failed, %d skipped\n", name, wtest_passed, wtest_failed, wtest_skipped);
    return wtest_failed != 0 ? 1 : 0;
}

#define WTEST_MAIN(...)                                                              \
    int main(void)                                                                   \
    {                                                                                \
        wtest_function tests[] = {__VA_ARGS__};                                      \
        return wtest_run(__FILE__, tests, (int)(sizeof tests / sizeof tests[0]));   \
    }
