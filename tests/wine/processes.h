// Helpers for the Wine tests that involve more than one process: the hook
// library's shared handle as the loaded image holds it, starting this same
// test program again in a child role, and waiting for processes and windows
// with a deadline so that nothing a test starts can hang the run.
#pragma once

#include <windows.h>
#include <stdio.h>
#include <string.h>

// The hook handle is the only variable of the library's "Shared" section.
// Reading it through the loaded image shows the value every process shares,
// which the export itself never reports.
static HHOOK volatile* shared_hook_slot(HMODULE library)
{
    if (library == NULL)
        return NULL;
    BYTE* base = (BYTE*)library;
    IMAGE_NT_HEADERS* nt = (IMAGE_NT_HEADERS*)(base + ((IMAGE_DOS_HEADER*)base)->e_lfanew);
    IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        if (memcmp(section->Name, "Shared\0\0", 8) == 0)
            return (HHOOK volatile*)(base + section->VirtualAddress);
    }
    return NULL;
}

// Starts `program` (this test program when NULL) with `arguments`; the child
// writes to the same standard handles. Returns the process handle or NULL.
static HANDLE start_process(const char* program, const char* arguments, DWORD* pid, WORD show)
{
    char path[MAX_PATH], command[2 * MAX_PATH];
    if (program == NULL)
        GetModuleFileNameA(NULL, path, sizeof path);
    else
        lstrcpynA(path, program, sizeof path);
    snprintf(command, sizeof command, "\"%s\" %s", path, arguments ? arguments : "");

    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    if (show != (WORD)-1) {
        startup.dwFlags |= STARTF_USESHOWWINDOW;
        startup.wShowWindow = show;
    }
    PROCESS_INFORMATION info;
    if (!CreateProcessA(path, command, NULL, NULL, TRUE, 0, NULL, NULL, &startup, &info))
        return NULL;
    CloseHandle(info.hThread);
    if (pid)
        *pid = info.dwProcessId;
    return info.hProcess;
}

// The exit code, or ~0u after `ms` milliseconds, when the process is ended
// by force so that it cannot outlive the test. Messages keep flowing meanwhile.
static DWORD wait_for_exit(HANDLE process, DWORD ms)
{
    DWORD end = GetTickCount() + ms, code = ~0u;
    for (;;) {
        DWORD left = (LONG)(end - GetTickCount()) > 0 ? end - GetTickCount() : 0;
        DWORD result = MsgWaitForMultipleObjects(1, &process, FALSE, left, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0) {
            GetExitCodeProcess(process, &code);
            return code;
        }
        if (result != WAIT_OBJECT_0 + 1) {
            TerminateProcess(process, 255);
            WaitForSingleObject(process, 5000);
            return ~0u;
        }
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

// A hidden top-level window of a class of its own, for messages to land on.
static HWND create_window(const char* className, WNDPROC proc)
{
    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, className, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL,
                           GetModuleHandleA(NULL), NULL);
}

static BOOL process_running(HANDLE process)
{
    return process != NULL && WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

// Polls FindWindowA, pumping this thread's messages, for up to `ms`.
static HWND wait_for_window(const char* className, const char* title, DWORD ms)
{
    DWORD end = GetTickCount() + ms;
    for (;;) {
        HWND window = FindWindowA(className, title);
        if (window != NULL || (LONG)(GetTickCount() - end) >= 0)
            return window;
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(20);
    }
}
