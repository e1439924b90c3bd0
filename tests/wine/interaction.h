// Helpers for the interaction tests: a platform Open dialog run on the test's
// own thread while a driver thread works it from outside as a user would
// (mouse clicks at screen positions, keys into the open menu), the open
// shortcut menu read back from its window, a spy procedure that sits behind
// the library's window procedure and sees what the dialog itself receives,
// and the application key of this program in the recent store.
//
// Every dialog ends: the driver gives each step a deadline and, when one
// passes, dismisses menus and message boxes and cancels the dialog.
#pragma once

#include "wtest.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

// The library's outward numbers, stated here rather than taken from its
// headers, so that a changed header fails the tests.
enum {
    kDocumentsButton = 33000,
    kFoldersButton = 33001,
    kDocumentsBase = 33101,
    kFoldersBase = 33151,
    kClearDocuments = 33201,
    kClearFolders = 33202,
};

extern "C" __declspec(dllimport) int __cdecl Marquel_InstallHook(int install, DWORD threadId);

static const DWORD kStepTimeout = 15000;   // one step of the driver, in ms

// --- registry: the product key and this program's application key ---------

static const char kProductPath[] = "software\\Corvane Software\\Lumora";

// "software\Corvane Software\Lumora\Data\<exe>\<list>" for this program.
static void list_key_path(const char* list, char* path)
{
    char module[MAX_PATH];
    GetModuleFileNameA(NULL, module, MAX_PATH);
    const char* name = strrchr(module, '\\');
    name = name ? name + 1 : module;
    wsprintfA(path, "%s\\Data\\%s\\%s", kProductPath, name, list);
}

static void create_product_key(void)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kProductPath, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) == ERROR_SUCCESS)
        RegCloseKey(key);
}

// Replaces the values of a list key by prefix1..prefixN = values, oldest
// first. Wine enumerates values sorted by name, so at most nine are seeded:
// File_1..File_9 sort as they were created.
static void seed_list(const char* list, const char* prefix, const char* const* values, int count)
{
    char path[400];
    list_key_path(list, path);
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS) {
        ok(0, "cannot create %s\n", path);
        return;
    }
    char name[64];
    DWORD length = sizeof name;
    while (RegEnumValueA(key, 0, name, &length, NULL, NULL, NULL, NULL) == ERROR_SUCCESS) {
        RegDeleteValueA(key, name);
        length = sizeof name;
    }
    for (int i = 0; i < count && i < 9; ++i) {
        wsprintfA(name, "%s%d", prefix, i + 1);
        RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)values[i], lstrlenA(values[i]) + 1);
    }
    RegCloseKey(key);
}

static void clear_lists(void)
{
    seed_list("Files", "File_", NULL, 0);
    seed_list("Folders", "Folder_", NULL, 0);
}

// Takes this program's application key out of the store, lists and all.
static void delete_application_key(void)
{
    char path[400];
    list_key_path("Files", path);
    RegDeleteKeyA(HKEY_CURRENT_USER, path);
    list_key_path("Folders", path);
    RegDeleteKeyA(HKEY_CURRENT_USER, path);
    *strrchr(path, '\\') = '\0';
    RegDeleteKeyA(HKEY_CURRENT_USER, path);
}

// The values of a list key in enumeration order (oldest first); -1 when the
// key is missing.
static int read_list(const char* list, char values[][MAX_PATH + 1], int max)
{
    char path[400];
    list_key_path(list, path);
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return -1;
    int count = 0;
    for (; count < max; ++count) {
        char name[64];
        DWORD nameLength = sizeof name;
        DWORD size = MAX_PATH + 1;
        values[count][0] = '\0';
        if (RegEnumValueA(key, count, name, &nameLength, NULL, NULL, (BYTE*)values[count], &size) != ERROR_SUCCESS)
            break;
    }
    RegCloseKey(key);
    return count;
}

// --- files the dialogs open --------------------------------------------------

static void make_file(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ok(file != INVALID_HANDLE_VALUE, "cannot create %s: %lu\n", path, GetLastError());
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written;
        WriteFile(file, "text\r\n", 6, &written, NULL);
        CloseHandle(file);
    }
}

// --- input, as a user gives it ---------------------------------------------

// Every mouse event carries its own absolute position: under Wine a pointer
// motion from the display can still arrive after SetCursorPos and move a
// click that relies on the cursor back to where the pointer was before.
static void mouse_input(POINT point, DWORD buttons)
{
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input;
    ZeroMemory(&input, sizeof input);
    input.type = INPUT_MOUSE;
    // The smallest normalised value that maps back to the pixel.
    input.mi.dx = (LONG)(((LONGLONG)point.x * 65536 + width - 1) / width);
    input.mi.dy = (LONG)(((LONGLONG)point.y * 65536 + height - 1) / height);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &input, sizeof(INPUT));
}

static void move_to(POINT point)
{
    mouse_input(point, 0);
}

static void click_at(POINT point)
{
    mouse_input(point, 0);
    mouse_input(point, MOUSEEVENTF_LEFTDOWN);
    mouse_input(point, MOUSEEVENTF_LEFTUP);
}

static void press_key(WORD key)
{
    INPUT input[2];
    ZeroMemory(input, sizeof input);
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

static POINT center_of(RECT rect)
{
    POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    return point;
}

// A toolbar button's rectangle in screen coordinates.
static RECT button_screen_rect(HWND toolbar, UINT id)
{
    RECT rect = {0, 0, 0, 0};
    SendMessageA(toolbar, TB_GETRECT, id, (LPARAM)&rect);
    MapWindowPoints(toolbar, NULL, (POINT*)&rect, 2);
    return rect;
}

static POINT control_center(HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    return center_of(rect);
}

// Polls cond every 20 ms for up to ms; true when it held.
template <typename Condition> static bool wait_until(DWORD ms, Condition cond)
{
    DWORD start = GetTickCount();
    while (!cond()) {
        if (GetTickCount() - start > ms)
            return false;
        Sleep(20);
    }
    return true;
}

// --- the open shortcut menu -----------------------------------------------

struct MenuItem {
    UINT id;
    UINT type;
    UINT state;
    char text[MAX_PATH + 8];
};

static HWND open_menu_window(void)
{
    HWND menu = FindWindowA("#32768", NULL);
    return menu && IsWindowVisible(menu) ? menu : NULL;
}

static HWND wait_menu_open(void)
{
    HWND menu = NULL;
    wait_until(kStepTimeout, [&] { return (menu = open_menu_window()) != NULL; });
    return menu;
}

static bool wait_menu_closed(void)
{
    return wait_until(kStepTimeout, [] { return open_menu_window() == NULL; });
}

static HMENU menu_of(HWND menuWindow)
{
    return (HMENU)SendMessageA(menuWindow, MN_GETHMENU, 0, 0);
}

static int read_menu(HWND menuWindow, MenuItem* items, int max)
{
    HMENU menu = menu_of(menuWindow);
    int count = menu ? GetMenuItemCount(menu) : -1;
    for (int i = 0; i < count && i < max; ++i) {
        MENUITEMINFOA info;
        ZeroMemory(&info, sizeof info);
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = items[i].text;
        info.cch = sizeof items[i].text;
        items[i].text[0] = '\0';
        GetMenuItemInfoA(menu, i, TRUE, &info);
        items[i].id = info.wID;
        items[i].type = info.fType;
        items[i].state = info.fState;
    }
    return count;
}

// Walks the open menu down with the arrow key, as a user does, until the item
// with id is highlighted, and chooses it with Return.
static bool choose_by_keyboard(HWND menuWindow, UINT id)
{
    HMENU menu = menu_of(menuWindow);
    int count = GetMenuItemCount(menu);
    for (int presses = 0; presses <= count; ++presses) {
        MENUITEMINFOA info;
        ZeroMemory(&info, sizeof info);
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE;
        bool highlighted = false;
        wait_until(500, [&] {
            GetMenuItemInfoA(menu, id, FALSE, &info);
            return highlighted = (info.fState & MFS_HILITE) != 0;
        });
        if (highlighted) {
            press_key(VK_RETURN);
            return true;
        }
        press_key(VK_DOWN);
    }
    return false;
}

static bool choose_by_click(HWND menuWindow, UINT id)
{
    HMENU menu = menu_of(menuWindow);
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (GetMenuItemID(menu, i) != id)
            continue;
        RECT rect;
        if (!GetMenuItemRect(NULL, menu, i, &rect))
            return false;
        click_at(center_of(rect));
        return true;
    }
    return false;
}

// --- the spy behind the library's procedure -------------------------------

// Installed while the dialog processes WM_INITDIALOG, before the library
// attaches it, so the library saves the spy as the dialog's own procedure:
// the spy sees exactly what the library passes on. It only logs; every
// message goes on to the dialog unchanged, the path requests included, so
// the tests see the library cope with the platform's own answers.
//
// Platform difference: a Wine file dialog that accepts a file frees its
// current folder before it ends, and a path request at WM_DESTROY is then
// answered from the freed memory (another folder, garbage, or a wait of many
// seconds). The library asks while it passes OK on there; the tests that end
// a dialog by OK check what it recorded.
struct SpyRecord {
    UINT message;
    WPARAM wParam;
    UINT code;
    UINT_PTR idFrom;
    int item;        // the button of a TBN_DROPDOWN
};

static const UINT kSpyMarker = WM_APP + 7;   // posted to see that earlier messages went through

static SpyRecord g_spyLog[512];
static volatile LONG g_spyCount;
static WNDPROC g_spyNext;
static bool g_spyWide;

static void spy_record(UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == WM_NOTIFY || message == WM_COMMAND || message == kSpyMarker) &&
        g_spyCount < (LONG)(sizeof g_spyLog / sizeof g_spyLog[0])) {
        SpyRecord& record = g_spyLog[g_spyCount];
        record.message = message;
        record.wParam = wParam;
        record.code = message == WM_NOTIFY ? ((NMHDR*)lParam)->code : 0;
        record.idFrom = message == WM_NOTIFY ? ((NMHDR*)lParam)->idFrom : 0;
        record.item = message == WM_NOTIFY && record.code == (UINT)TBN_DROPDOWN ? ((NMTOOLBARA*)lParam)->iItem : 0;
        InterlockedIncrement(&g_spyCount);
    }
}

static LRESULT spy_call(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    spy_record(message, wParam, lParam);
    return (g_spyWide ? CallWindowProcW : CallWindowProcA)(g_spyNext, window, message, wParam, lParam);
}

static LRESULT CALLBACK SpyProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return spy_call(window, message, wParam, lParam);
}

static LRESULT CALLBACK SpyProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return spy_call(window, message, wParam, lParam);
}

static void install_spy(HWND dialog, bool wide)
{
    g_spyCount = 0;
    g_spyWide = wide;
    g_spyNext = wide ? (WNDPROC)SetWindowLongPtrW(dialog, GWLP_WNDPROC, (LONG_PTR)SpyProcW)
                     : (WNDPROC)SetWindowLongPtrA(dialog, GWLP_WNDPROC, (LONG_PTR)SpyProcA);
}

static bool spy_saw_notify(LONG since, UINT code, UINT_PTR idFrom)
{
    for (LONG i = since; i < g_spyCount; ++i) {
        if (g_spyLog[i].message == WM_NOTIFY && g_spyLog[i].code == code && g_spyLog[i].idFrom == idFrom)
            return true;
    }
    return false;
}

static bool spy_saw_dropdown(LONG since, int item)
{
    for (LONG i = since; i < g_spyCount; ++i) {
        if (g_spyLog[i].message == WM_NOTIFY && g_spyLog[i].code == (UINT)TBN_DROPDOWN && g_spyLog[i].item == item)
            return true;
    }
    return false;
}

// Posts a marker behind whatever the dialog has queued and waits until the
// spy sees it: everything posted before it has then been handled.
static bool sync_with_dialog(HWND dialog)
{
    LONG since = g_spyCount;
    PostMessageA(dialog, kSpyMarker, 0, 0);
    return wait_until(kStepTimeout, [&] {
        for (LONG i = since; i < g_spyCount; ++i) {
            if (g_spyLog[i].message == kSpyMarker)
                return true;
        }
        return false;
    });
}

static bool spy_saw_command(LONG since, UINT id)
{
    for (LONG i = since; i < g_spyCount; ++i) {
        if (g_spyLog[i].message == WM_COMMAND && LOWORD(g_spyLog[i].wParam) == id)
            return true;
    }
    return false;
}

// --- one dialog, driven from a second thread --------------------------------

struct DialogRun;
typedef void (*DriveFunction)(DialogRun* run);

struct DialogRun {
    // set by the test
    bool wide;                 // GetOpenFileNameW rather than GetOpenFileNameA
    const char* initialDir;
    DriveFunction drive;       // runs on the driver thread once the dialog is attached
    void* context;
    // set while it runs
    HWND dialog;
    HWND toolbar;
    DWORD dialogThread;
    HANDLE ready;
    volatile LONG ended;       // the dialog call has returned
    // the outcome
    BOOL result;
    char file[MAX_PATH * 2];   // the chosen file, in the ANSI code page
};

static DialogRun* g_run;

static HWND find_toolbar(HWND dialog)
{
    for (HWND child = FindWindowExA(dialog, NULL, TOOLBARCLASSNAMEA, NULL); child;
         child = FindWindowExA(dialog, child, TOOLBARCLASSNAMEA, NULL)) {
        if (GetWindowLongPtrA(child, GWLP_ID) == 1)
            return child;
    }
    return NULL;
}

static bool dialog_gone(DialogRun* run)
{
    return run->ended || !IsWindow(run->dialog);
}

// Closes what a failed step may have left open: the menu, message boxes of
// the dialog's thread, then the dialog itself.
static BOOL CALLBACK CloseStrayWindow(HWND window, LPARAM dialog)
{
    if ((HWND)dialog != window && IsWindowVisible(window))
        PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

static void force_end(DialogRun* run)
{
    if (open_menu_window()) {
        press_key(VK_ESCAPE);
        wait_menu_closed();
    }
    EnumThreadWindows(run->dialogThread, CloseStrayWindow, (LPARAM)run->dialog);
    PostMessageA(run->dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    wait_until(kStepTimeout, [&] { return dialog_gone(run); });
}

static DWORD WINAPI DriverThread(void* parameter)
{
    DialogRun* run = (DialogRun*)parameter;
    if (WaitForSingleObject(run->ready, kStepTimeout) != WAIT_OBJECT_0) {
        ok(0, "the dialog did not start\n");
        return 0;
    }
    // The library attaches after the dialog has processed WM_INITDIALOG,
    // which is still running when the hook procedure hears CDN_INITDONE.
    bool attached = wait_until(kStepTimeout, [&] {
        run->toolbar = find_toolbar(run->dialog);
        return run->toolbar && SendMessageA(run->toolbar, TB_COMMANDTOINDEX, kDocumentsButton, 0) >= 0 &&
               IsWindowVisible(run->dialog);
    });
    ok(attached, "the dialog was not attached\n");
    if (attached) {
        // Keys go to the foreground window's thread.
        wait_until(kStepTimeout, [&] { return GetForegroundWindow() == run->dialog; });
        run->drive(run);
    }
    if (!wait_until(kStepTimeout, [&] { return dialog_gone(run); })) {
        ok(0, "the dialog is still open; cancelling it\n");
        force_end(run);
    }
    return 0;
}

// The application's hook procedure: the dialog is its parent. CDN_INITDONE
// comes while the dialog still processes WM_INITDIALOG.
static UINT_PTR CALLBACK OpenDialogHook(HWND child, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_NOTIFY || !g_run)
        return 0;
    UINT code = ((NMHDR*)lParam)->code;
    if (code == (UINT)CDN_INITDONE) {
        g_run->dialog = GetParent(child);
        install_spy(g_run->dialog, g_run->wide);
        SetEvent(g_run->ready);
    }
    return 0;
}

static void run_dialog(DialogRun* run)
{
    g_run = run;
    run->dialog = run->toolbar = NULL;
    run->ended = 0;
    run->result = FALSE;
    run->file[0] = '\0';
    run->dialogThread = GetCurrentThreadId();
    run->ready = CreateEventA(NULL, TRUE, FALSE, NULL);
    HANDLE driver = CreateThread(NULL, 0, DriverThread, run, 0, NULL);

    // The full structure size keeps the file-name combo box (cmb13) that
    // the library types into; the 4.0 size with a hook gets an edit instead.
    if (run->wide) {
        WCHAR file[MAX_PATH] = L"";
        WCHAR initialDir[MAX_PATH] = L"";
        if (run->initialDir)
            MultiByteToWideChar(CP_ACP, 0, run->initialDir, -1, initialDir, MAX_PATH);
        OPENFILENAMEW ofn;
        ZeroMemory(&ofn, sizeof ofn);
        ofn.lStructSize = sizeof ofn;
        ofn.lpstrFilter = L"All files\0*.*\0";
        ofn.lpstrFile = file;
        ofn.nMaxFile = MAX_PATH;
        ofn.lpstrInitialDir = run->initialDir ? initialDir : NULL;
        ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_HIDEREADONLY;
        ofn.lpfnHook = OpenDialogHook;
        run->result = GetOpenFileNameW(&ofn);
        if (run->result)
            WideCharToMultiByte(CP_ACP, 0, file, -1, run->file, sizeof run->file, NULL, NULL);
    } else {
        OPENFILENAMEA ofn;
        ZeroMemory(&ofn, sizeof ofn);
        ofn.lStructSize = sizeof ofn;
        ofn.lpstrFilter = "All files\0*.*\0";
        ofn.lpstrFile = run->file;
        ofn.nMaxFile = MAX_PATH;
        ofn.lpstrInitialDir = run->initialDir;
        ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_HIDEREADONLY;
        ofn.lpfnHook = OpenDialogHook;
        run->result = GetOpenFileNameA(&ofn);
        if (!run->result)
            run->file[0] = '\0';
    }
    InterlockedExchange(&run->ended, 1);

    // The driver may still send to this thread while it winds down.
    DWORD start = GetTickCount();
    while (MsgWaitForMultipleObjects(1, &driver, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0 &&
           GetTickCount() - start < 4 * kStepTimeout)
        pump_messages(0);
    CloseHandle(driver);
    CloseHandle(run->ready);
    g_run = NULL;
}

// The text of a dialog control, read from the driver thread.
static void control_text(HWND dialog, int id, char* text, int size)
{
    text[0] = '\0';
    SendDlgItemMessageA(dialog, id, WM_GETTEXT, size, (LPARAM)text);
}

// --- a fixture dialog that answers the path request as told -------------

// Looks like an Explorer-style dialog to the library (a direct child of class
// SHELLDLL_DefView, a file-name box cmb13 so the library keeps typing there)
// and answers CDM_GETFILEPATH with the text and result it is given, written
// as the platform does: at most the capacity asked for, cut and terminated.
struct PathAnswer {
    bool wide;
    const char* text;        // 8-bit answer
    const WCHAR* wideText;   // UTF-16 answer
    LRESULT result;
};

static const PathAnswer* g_pathAnswer;
static WPARAM g_requestCapacity;

static INT_PTR CALLBACK FixtureDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        CreateWindowExA(0, "SHELLDLL_DefView", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100, dialog, (HMENU)lst2,
                        GetModuleHandleA(NULL), NULL);
        CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 0, 110, 200, 20, dialog, (HMENU)cmb13,
                        GetModuleHandleA(NULL), NULL);
        return TRUE;
    case CDM_GETFILEPATH:
        g_requestCapacity = wParam;
        if (g_pathAnswer->wide)
            lstrcpynW((WCHAR*)lParam, g_pathAnswer->wideText, (int)wParam);
        else
            lstrcpynA((char*)lParam, g_pathAnswer->text, (int)wParam);
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, g_pathAnswer->result);
        return TRUE;
    case WM_COMMAND:
        return TRUE;   // closed by the test only
    }
    return FALSE;
}

static void register_fixture_class(void)
{
    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "SHELLDLL_DefView";
    RegisterClassA(&windowClass);
}

// Opens the fixture, sends command (when non-zero) as WM_COMMAND's wParam,
// and destroys it with the answer in place. False when the library did not
// attach it, so nothing about the recording could be seen.
static bool close_fixture(const PathAnswer* answer, WPARAM command)
{
    struct {
        DLGTEMPLATE header;
        WORD menu, windowClass, title;
    } dialogTemplate;
    ZeroMemory(&dialogTemplate, sizeof dialogTemplate);
    // A child of a hidden window: shown by the library, it still maps no
    // window on the display, whose unmapping Wine waits for without a
    // window manager.
    static HWND parent;
    if (!parent)
        parent = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 300, 200, NULL, NULL, GetModuleHandleA(NULL), NULL);
    dialogTemplate.header.style = WS_CHILD | DS_CONTROL;
    dialogTemplate.header.cx = 200;
    dialogTemplate.header.cy = 100;
    g_pathAnswer = answer;
    g_requestCapacity = 0;
    // A non-zero creation parameter: the library looks only at such dialogs.
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(NULL), &dialogTemplate.header, parent, FixtureDialogProc, 1);
    if (!dialog)
        return false;
    bool attached = (ULONG_PTR)GetWindowLongPtrA(dialog, GWLP_WNDPROC) != GetClassLongPtrA(dialog, GCLP_WNDPROC);
    if (command)
        SendMessageA(dialog, WM_COMMAND, command, 0);
    DestroyWindow(dialog);
    return attached;
}

