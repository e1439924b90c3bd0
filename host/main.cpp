// Lumora.exe, the host: keeps to one running instance, owns the system-wide
// hook through a hidden proxy window (installed while the window is created,
// removed when it is destroyed), makes sure the product key exists, and at
// shutdown tells every application to drop the hook. A second start asks
// whether to end the first.

#include <windows.h>

#include "names.h"

extern "C" __declspec(dllimport) int __cdecl Marquel_InstallHook(int install, DWORD threadId);

static const char kMutexName[] = "LumoraProxyWnd";
static const char kWindowClass[] = "LumoraProxyWndClassEx";
static const char kWindowTitle[] = "LumoraProxyWnd";
static const char kQuestion[] = "\tPathwick is already running.\t\t\n\n\t\tTerminate?";
static const char kCaption[] = "Pathwick v1.01 beta 1";

// Program state: the unload message (registered before WinMain runs) and the
// single-instance mutex, null once closed.
static const UINT g_unloadMessage = RegisterWindowMessageA(LUMORA_UNLOAD_MESSAGE_NAME);
static HANDLE g_mutex = nullptr;

static void CloseMutex()
{
    if (g_mutex != nullptr) {
        CloseHandle(g_mutex);
        g_mutex = nullptr;
    }
}

// The library opens the product key but never creates it.
static void CreateProductKey()
{
    HKEY software, company, product;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, LUMORA_SOFTWARE_KEY, 0, LUMORA_KEY_ACCESS, &software) == ERROR_SUCCESS) {
        if (RegCreateKeyExA(software, LUMORA_COMPANY_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE, LUMORA_KEY_ACCESS,
                            nullptr, &company, nullptr) == ERROR_SUCCESS) {
            if (RegCreateKeyExA(company, LUMORA_PRODUCT_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE, LUMORA_KEY_ACCESS,
                                nullptr, &product, nullptr) == ERROR_SUCCESS)
                RegCloseKey(product);
            RegCloseKey(company);
        }
        RegCloseKey(software);
    }
}

// The proxy window: WM_CREATE installs the hook, WM_DESTROY shuts down.
static LRESULT CALLBACK ProxyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        Marquel_InstallHook(1, 0);
        return 0;
    case WM_DESTROY: {
        // Posted, so nobody is waited for; each process that meets the
        // message removes the hook if it is still there.
        DWORD recipients = BSM_APPLICATIONS;
        BroadcastSystemMessageA(BSF_IGNORECURRENTTASK | BSF_POSTMESSAGE, &recipients, g_unloadMessage, 0, 0);
        Marquel_InstallHook(0, 0);
        CloseMutex();
        PostQuitMessage(0);
        return 0;
    }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A second start: ask, and on Yes close the first instance. Never runs on.
static void AskToEndFirstInstance()
{
    HWND first = FindWindowA(kWindowClass, kWindowTitle);
    if (first == nullptr)
        return;
    if (MessageBoxA(nullptr, kQuestion, kCaption, MB_YESNO | MB_ICONQUESTION) == IDYES)
        SendMessageA(first, WM_CLOSE, 0, 0);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    g_mutex = CreateMutexA(nullptr, TRUE, kMutexName);
    if (g_mutex == nullptr)
        return 0;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        AskToEndFirstInstance();
        CloseMutex();
        return 0;
    }

    WNDCLASSEXA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ProxyWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    if (RegisterClassExA(&windowClass) == 0) {
        CloseMutex();
        return 0;
    }
    // Never shown: no WS_VISIBLE, and no ShowWindow call.
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, kWindowClass, kWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        CloseMutex();
        return 0;
    }
    CreateProductKey();

    // GetMessageA answers -1 once the filter window is gone; that ends the
    // loop as the quit message does.
    MSG message;
    while (GetMessageA(&message, window, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    CloseMutex();
    return 0;
}
