// Helpers for the Wine tests that drive file dialogs without blocking:
// - filedlg_show() runs one of the platform's real Open or Save As dialogs
//   (8-bit or UTF-16 entry point) and calls back once the dialog is set up and
//   running its modal loop; a watchdog thread cancels it if it hangs.
// - fixture_create() builds a small modeless dialog whose children (toolbars,
//   a "SHELLDLL_DefView" window, combo and edit controls) sit at chosen places,
//   for the cases a real dialog cannot show.
// - filedlg_watch_menus() records the next shortcut menus shown on this
//   thread and closes them, so that a drop-down never waits for a user.
// - registry helpers that seed and remove this program's recent lists.
// Everything here is C, header-only, and usable from C++ tests as well.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <stdio.h>
#include <string.h>

#define FILEDLG_TIMEOUT_MS 20000
#define FILEDLG_INSPECT (WM_APP + 0x3A0)   // posted to the hook dialog

// Ids the library gives its buttons and menu items.
#define FILEDLG_DOCUMENTS_BUTTON 33000
#define FILEDLG_FOLDERS_BUTTON 33001
#define FILEDLG_DOCUMENTS_BASE 33101
#define FILEDLG_FOLDERS_BASE 33151
#define FILEDLG_CLEAR_DOCUMENTS 33201
#define FILEDLG_CLEAR_FOLDERS 33202

// ---------------------------------------------------------------------------
// Windows of a dialog

// The first direct child of `parent` with this class and control id.
static HWND filedlg_child(HWND parent, const char* class_name, int id)
{
    HWND child = NULL;
    while ((child = FindWindowExA(parent, child, class_name, NULL)) != NULL) {
        if (GetDlgCtrlID(child) == id)
            return child;
    }
    return NULL;
}

// The dialog's own toolbar: GetDlgItem(dialog, 1) is the OK button, so the
// toolbar is looked up by class as well.
static HWND filedlg_toolbar(HWND dialog, int id)
{
    return filedlg_child(dialog, TOOLBARCLASSNAMEA, id);
}

// A window's rectangle in the client coordinates of `dialog`.
static RECT filedlg_rect_in(HWND window, HWND dialog)
{
    RECT rect = {0, 0, 0, 0};
    if (window != NULL && GetWindowRect(window, &rect))
        MapWindowPoints(NULL, dialog, (POINT*)&rect, 2);
    return rect;
}

static int filedlg_button_count(HWND toolbar)
{
    return toolbar != NULL ? (int)SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0) : -1;
}

static BOOL filedlg_button(HWND toolbar, int index, TBBUTTON* button)
{
    ZeroMemory(button, sizeof *button);
    return toolbar != NULL && SendMessageA(toolbar, TB_GETBUTTON, index, (LPARAM)button);
}

// Whether any toolbar child of `dialog` holds a recent button.
static BOOL filedlg_has_recent_buttons(HWND dialog)
{
    HWND toolbar = NULL;
    while ((toolbar = FindWindowExA(dialog, toolbar, TOOLBARCLASSNAMEA, NULL)) != NULL) {
        if (SendMessageA(toolbar, TB_COMMANDTOINDEX, FILEDLG_DOCUMENTS_BUTTON, 0) >= 0 ||
            SendMessageA(toolbar, TB_COMMANDTOINDEX, FILEDLG_FOLDERS_BUTTON, 0) >= 0)
            return TRUE;
    }
    return FALSE;
}

// Whether `address` lies inside the loaded hook library's image: the window
// procedure of an attached dialog does.
static BOOL filedlg_in_library(const void* address)
{
    const BYTE* base = (const BYTE*)GetModuleHandleA("LumoraHook.dll");
    if (base == NULL || address == NULL)
        return FALSE;
    const IMAGE_NT_HEADERS* nt = (const IMAGE_NT_HEADERS*)(base + ((const IMAGE_DOS_HEADER*)base)->e_lfanew);
    const BYTE* p = (const BYTE*)address;
    return p >= base && p < base + nt->OptionalHeader.SizeOfImage;
}

static void* filedlg_window_proc(HWND window)
{
    return (void*)GetWindowLongPtrA(window, GWLP_WNDPROC);
}

// Whether `upper` lies above `lower` in the z-order of top-level windows.
static BOOL filedlg_is_above(HWND upper, HWND lower)
{
    for (HWND next = GetWindow(upper, GW_HWNDNEXT); next != NULL; next = GetWindow(next, GW_HWNDNEXT)) {
        if (next == lower)
            return TRUE;
    }
    return FALSE;
}

// Sends the drop-down notification of a recent button, as the toolbar does
// when its arrow is pressed. The answer is the dialog's.
static LRESULT filedlg_drop_down(HWND dialog, HWND toolbar, int button)
{
    NMTOOLBARA notify;
    ZeroMemory(&notify, sizeof notify);
    notify.hdr.hwndFrom = toolbar;
    notify.hdr.idFrom = GetDlgCtrlID(toolbar);
    notify.hdr.code = TBN_DROPDOWN;
    notify.iItem = button;
    return SendMessageA(dialog, WM_NOTIFY, notify.hdr.idFrom, (LPARAM)&notify);
}

// ---------------------------------------------------------------------------
// Watchdog: whatever a test does, a dialog, message box or menu of the
// watched thread that is still open after the deadline is cancelled.

typedef struct {
    DWORD thread;
    DWORD timeout_ms;
    HANDLE done;
    volatile LONG fired;
} filedlg_watchdog;

static BOOL CALLBACK filedlg_cancel_window(HWND window, LPARAM unused)
{
    char name[32];
    (void)unused;
    if (!GetClassNameA(window, name, sizeof name))
        return TRUE;
    if (strcmp(name, "#32770") == 0)
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    else if (strcmp(name, "#32768") == 0)
        PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    return TRUE;
}

static DWORD WINAPI filedlg_watchdog_thread(void* parameter)
{
    filedlg_watchdog* watchdog = (filedlg_watchdog*)parameter;
    DWORD wait = watchdog->timeout_ms;
    while (WaitForSingleObject(watchdog->done, wait) == WAIT_TIMEOUT) {
        InterlockedExchange(&watchdog->fired, 1);
        EnumThreadWindows(watchdog->thread, filedlg_cancel_window, 0);
        wait = 1000;
    }
    return 0;
}

static HANDLE filedlg_watchdog_start(filedlg_watchdog* watchdog, DWORD timeout_ms)
{
    watchdog->thread = GetCurrentThreadId();
    watchdog->timeout_ms = timeout_ms;
    watchdog->fired = 0;
    watchdog->done = CreateEventA(NULL, TRUE, FALSE, NULL);
    return CreateThread(NULL, 0, filedlg_watchdog_thread, watchdog, 0, NULL);
}

// Ends the watchdog; TRUE when it had to cancel something.
static BOOL filedlg_watchdog_stop(filedlg_watchdog* watchdog, HANDLE thread)
{
    SetEvent(watchdog->done);
    if (thread != NULL) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    CloseHandle(watchdog->done);
    return watchdog->fired != 0;
}

// ---------------------------------------------------------------------------
// Real file dialogs

typedef void (*filedlg_callback)(HWND dialog, void* context);

typedef struct {
    int save;             // GetSaveFileName instead of GetOpenFileName
    int wide;             // the UTF-16 entry point
    DWORD flags;          // OFN_* flags; OFN_ENABLEHOOK is always added
    DWORD struct_size;    // 0: the full structure; else e.g. OPENFILENAME_SIZE_VERSION_400
    const char* folder;   // initial folder, or NULL
    filedlg_callback inspect;   // called once in the running dialog
    void* context;
    int keep_open;        // the callback closes the dialog itself
} filedlg_options;

typedef struct {
    BOOL result;          // what Get*FileName returned
    int inspected;        // the callback ran
    int timed_out;        // the watchdog had to cancel
    DWORD error;          // CommDlgExtendedError afterwards
    char file[MAX_PATH];  // the chosen file, converted to 8 bits
} filedlg_outcome;

typedef struct {
    const filedlg_options* options;
    filedlg_outcome* outcome;
} filedlg_run_state;

static const char filedlg_prop[] = "filedlg.run";

// The hook procedure of the dialog (OFNHOOKPROC, the same for both entry
// points). Explorer style: `window` is the child hook dialog and the file
// dialog is its parent; old style: `window` is the file dialog itself. The
// inspection is posted, so that it runs after the file dialog's WM_INITDIALOG
// has been processed completely, i.e. after the library attached it.
static UINT_PTR CALLBACK filedlg_hook_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    if (message == WM_INITDIALOG) {
        const OPENFILENAMEA* ofn = (const OPENFILENAMEA*)lParam;
        filedlg_run_state* run = (filedlg_run_state*)ofn->lCustData;
        SetPropA(window, filedlg_prop, run);
        if (!(run->options->flags & OFN_EXPLORER))
            PostMessageA(window, FILEDLG_INSPECT, 0, 0);
        return 0;
    }
    filedlg_run_state* run = (filedlg_run_state*)GetPropA(window, filedlg_prop);
    if (run == NULL)
        return 0;
    if (message == WM_NOTIFY && ((const NMHDR*)lParam)->code == (UINT)CDN_INITDONE) {
        PostMessageA(window, FILEDLG_INSPECT, 0, 0);
    } else if (message == FILEDLG_INSPECT) {
        HWND dialog = (run->options->flags & OFN_EXPLORER) ? GetParent(window) : window;
        run->outcome->inspected = 1;
        if (run->options->inspect != NULL)
            run->options->inspect(dialog, run->options->context);
        if (!run->options->keep_open && IsWindow(dialog))
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDCANCEL));
    } else if (message == WM_DESTROY) {
        RemovePropA(window, filedlg_prop);
    }
    return 0;
}

// Runs one real file dialog on this thread to its end.
static filedlg_outcome filedlg_show(const filedlg_options* options)
{
    filedlg_outcome outcome;
    filedlg_run_state run = {options, &outcome};
    ZeroMemory(&outcome, sizeof outcome);

    static const char filterA[] = "All files\0*.*\0Text files\0*.txt\0";
    static const WCHAR filterW[] = L"All files\0*.*\0Text files\0*.txt\0";
    DWORD flags = options->flags | OFN_ENABLEHOOK | OFN_HIDEREADONLY;
    filedlg_watchdog watchdog;
    HANDLE watchdog_thread = filedlg_watchdog_start(&watchdog, FILEDLG_TIMEOUT_MS);

    if (options->wide) {
        WCHAR file[MAX_PATH] = L"", folder[MAX_PATH] = L"";
        OPENFILENAMEW ofn;
        ZeroMemory(&ofn, sizeof ofn);
        ofn.lStructSize = options->struct_size ? options->struct_size : sizeof ofn;
        ofn.lpstrFilter = filterW;
        ofn.lpstrFile = file;
        ofn.nMaxFile = MAX_PATH;
        if (options->folder != NULL) {
            MultiByteToWideChar(CP_ACP, 0, options->folder, -1, folder, MAX_PATH);
            ofn.lpstrInitialDir = folder;
        }
        ofn.Flags = flags;
        ofn.lpfnHook = filedlg_hook_proc;
        ofn.lCustData = (LPARAM)&run;
        outcome.result = options->save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
        WideCharToMultiByte(CP_ACP, 0, file, -1, outcome.file, MAX_PATH, NULL, NULL);
    } else {
        OPENFILENAMEA ofn;
        ZeroMemory(&ofn, sizeof ofn);
        ofn.lStructSize = options->struct_size ? options->struct_size : sizeof ofn;
        ofn.lpstrFilter = filterA;
        ofn.lpstrFile = outcome.file;
        ofn.nMaxFile = MAX_PATH;
        ofn.lpstrInitialDir = options->folder;
        ofn.Flags = flags;
        ofn.lpfnHook = filedlg_hook_proc;
        ofn.lCustData = (LPARAM)&run;
        outcome.result = options->save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    }
    outcome.error = CommDlgExtendedError();
    outcome.timed_out = filedlg_watchdog_stop(&watchdog, watchdog_thread);
    return outcome;
}

// ---------------------------------------------------------------------------
// Shortcut menus: the items of each menu shown on this thread while watched,
// recorded and then closed (or one item chosen, as a click would).

#define FILEDLG_MAX_ITEMS 64

typedef struct {
    int shown;                                  // menus seen
    HWND owner;                                 // owner of the last one
    int count;                                  // items of the last one
    UINT ids[FILEDLG_MAX_ITEMS];
    UINT states[FILEDLG_MAX_ITEMS];             // MF_GRAYED, MF_DISABLED...
    UINT types[FILEDLG_MAX_ITEMS];              // MFT_SEPARATOR...
    char texts[FILEDLG_MAX_ITEMS][MAX_PATH];
    UINT choose;                                // item to choose, 0: none
} filedlg_menu;

static filedlg_menu* filedlg_menu_record;
static HHOOK filedlg_menu_hook;

static void filedlg_record_menu(HMENU menu, HWND owner)
{
    filedlg_menu* record = filedlg_menu_record;
    int count = GetMenuItemCount(menu);
    record->shown++;
    record->owner = owner;
    record->count = count < FILEDLG_MAX_ITEMS ? count : FILEDLG_MAX_ITEMS;
    for (int i = 0; i < record->count; ++i) {
        MENUITEMINFOA info;
        ZeroMemory(&info, sizeof info);
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = record->texts[i];
        info.cch = MAX_PATH;
        record->texts[i][0] = '\0';
        GetMenuItemInfoA(menu, i, TRUE, &info);
        record->ids[i] = info.wID;
        record->states[i] = info.fState;
        record->types[i] = info.fType;
    }
}

// A thread timer also fires inside the menu's own loop; by then the menu is
// up and EndMenu can end it.
static void CALLBACK filedlg_end_menu(HWND window, UINT message, UINT_PTR timer, DWORD time)
{
    (void)window; (void)message; (void)time;
    KillTimer(NULL, timer);
    filedlg_menu* record = filedlg_menu_record;
    EndMenu();
    if (record != NULL && record->choose != 0 && record->owner != NULL)
        PostMessageA(record->owner, WM_COMMAND, MAKEWPARAM(record->choose, 0), 0);
}

static LRESULT CALLBACK filedlg_menu_hook_proc(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* sent = (const CWPSTRUCT*)lParam;
    if (code == HC_ACTION && filedlg_menu_record != NULL && sent->message == WM_INITMENUPOPUP) {
        filedlg_record_menu((HMENU)sent->wParam, sent->hwnd);
        SetTimer(NULL, 0, 50, filedlg_end_menu);
    }
    return CallNextHookEx(filedlg_menu_hook, code, wParam, lParam);
}

static void filedlg_watch_menus(filedlg_menu* record)
{
    ZeroMemory(record, sizeof *record);
    filedlg_menu_record = record;
    if (filedlg_menu_hook == NULL)
        filedlg_menu_hook = SetWindowsHookExA(WH_CALLWNDPROC, filedlg_menu_hook_proc, NULL, GetCurrentThreadId());
}

static void filedlg_unwatch_menus(void)
{
    if (filedlg_menu_hook != NULL)
        UnhookWindowsHookEx(filedlg_menu_hook);
    filedlg_menu_hook = NULL;
    filedlg_menu_record = NULL;
}

// Index of the item with this text in the last menu, or -1.
static int filedlg_menu_find(const filedlg_menu* record, const char* text)
{
    for (int i = 0; i < record->count; ++i) {
        if (strcmp(record->texts[i], text) == 0)
            return i;
    }
    return -1;
}

// ---------------------------------------------------------------------------
// Fixture dialogs: a modeless dialog whose children are created in its
// WM_INITDIALOG, so they exist when the library looks at the dialog.

typedef struct {
    const char* class_name;
    int id;
    int x, y, width, height;   // pixels, client coordinates of the parent
    int parent;                // index of an earlier child, or -1: the dialog
} fixture_child;

typedef struct {
    int width, height;         // client size in pixels
    const fixture_child* children;
    int count;
    WNDPROC subclass;          // installed during WM_INITDIALOG when set
    int to_bottom;             // puts itself at the bottom of the z-order
} fixture_plan;

typedef struct {
    const fixture_plan* plan;
    WNDPROC original;          // the procedure `subclass` replaced
    int initdialogs;           // WM_INITDIALOG seen by the dialog procedure
    int oks;                   // IDOK commands seen
    char ok_text[2][MAX_PATH]; // cmb13 and edt1 texts at the last IDOK
    int notifies;              // WM_NOTIFY seen
} fixture_state;

// Toolbars of a fixture start with two buttons of their own and an extended
// style that attachment must drop.
#define FIXTURE_OWN_BUTTONS 2
#define FIXTURE_EXTENDED_STYLE TBSTYLE_EX_MIXEDBUTTONS

static __thread const fixture_plan* fixture_pending;

static fixture_state* fixture_state_of(HWND dialog)
{
    return (fixture_state*)GetWindowLongPtrA(dialog, DWLP_USER);
}

static LRESULT fixture_forward(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    fixture_state* state = fixture_state_of(dialog);
    return CallWindowProcA(state->original, dialog, message, wParam, lParam);
}

static void fixture_register_view_class(void)
{
    WNDCLASSA view;
    if (GetClassInfoA(GetModuleHandleA(NULL), "SHELLDLL_DefView", &view))
        return;
    ZeroMemory(&view, sizeof view);
    view.lpfnWndProc = DefWindowProcA;
    view.hInstance = GetModuleHandleA(NULL);
    view.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    view.lpszClassName = "SHELLDLL_DefView";
    RegisterClassA(&view);
}

static void fixture_populate(HWND dialog, const fixture_plan* plan)
{
    HWND created[32];
    RECT frame = {0, 0, plan->width, plan->height};
    AdjustWindowRectEx(&frame, GetWindowLongA(dialog, GWL_STYLE), FALSE, GetWindowLongA(dialog, GWL_EXSTYLE));
    SetWindowPos(dialog, NULL, 40, 40, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    for (int i = 0; i < plan->count && i < 32; ++i) {
        const fixture_child* child = &plan->children[i];
        HWND parent = child->parent >= 0 ? created[child->parent] : dialog;
        DWORD style = WS_CHILD | WS_VISIBLE;
        if (strcmp(child->class_name, TOOLBARCLASSNAMEA) == 0)
            style |= CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | TBSTYLE_FLAT;
        else if (strcmp(child->class_name, "Edit") == 0)
            style |= WS_BORDER | ES_AUTOHSCROLL;
        else if (strcmp(child->class_name, "ComboBox") == 0)
            style |= CBS_DROPDOWNLIST;
        created[i] = CreateWindowExA(0, child->class_name, "", style, child->x, child->y, child->width,
                                     child->height, parent, (HMENU)(INT_PTR)child->id, GetModuleHandleA(NULL), NULL);
        if (created[i] != NULL && strcmp(child->class_name, TOOLBARCLASSNAMEA) == 0) {
            TBBUTTON own[FIXTURE_OWN_BUTTONS];
            ZeroMemory(own, sizeof own);
            for (int b = 0; b < FIXTURE_OWN_BUTTONS; ++b) {
                own[b].iBitmap = b;
                own[b].idCommand = 40001 + b;
                own[b].fsState = TBSTATE_ENABLED;
                own[b].fsStyle = BTNS_BUTTON;
            }
            SendMessageA(created[i], TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
            SendMessageA(created[i], TB_SETEXTENDEDSTYLE, 0, FIXTURE_EXTENDED_STYLE);
            SendMessageA(created[i], TB_ADDBUTTONSA, FIXTURE_OWN_BUTTONS, (LPARAM)own);
        }
    }
}

static INT_PTR CALLBACK fixture_dialog_proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    fixture_state* state = fixture_state_of(dialog);
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        // A second WM_INITDIALOG (sent by a test) finds everything in place.
        if (state == NULL) {
            state = (fixture_state*)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof *state);
            state->plan = fixture_pending;
            SetWindowLongPtrA(dialog, DWLP_USER, (LONG_PTR)state);
            fixture_populate(dialog, state->plan);
            if (state->plan->to_bottom)
                SetWindowPos(dialog, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            if (state->plan->subclass != NULL)
                state->original = (WNDPROC)SetWindowLongPtrA(dialog, GWLP_WNDPROC, (LONG_PTR)state->plan->subclass);
        }
        state->initdialogs++;
        return FALSE;
    case WM_COMMAND:
        if (state != NULL && LOWORD(wParam) == IDOK) {
            state->oks++;
            GetDlgItemTextA(dialog, cmb13, state->ok_text[0], MAX_PATH);
            GetDlgItemTextA(dialog, edt1, state->ok_text[1], MAX_PATH);
        }
        return TRUE;
    case WM_NOTIFY:
        if (state != NULL)
            state->notifies++;
        return FALSE;
    case WM_NCDESTROY:
        if (state != NULL) {
            SetWindowLongPtrA(dialog, DWLP_USER, 0);
            HeapFree(GetProcessHeap(), 0, state);
        }
        return FALSE;
    }
    return FALSE;
}

// Creates the fixture, hidden, with `init_param` as WM_INITDIALOG's lParam.
static HWND fixture_create(const fixture_plan* plan, LPARAM init_param)
{
    // DLGTEMPLATE, then empty menu, class and title arrays; no controls.
    static const WORD words[] = {
        LOWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU), HIWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU),
        0, 0,        // extended style
        0,           // controls
        0, 0, 100, 100,
        0, 0, 0, 0,
    };
    DWORD storage[(sizeof words + 3) / 4];
    memcpy(storage, words, sizeof words);
    InitCommonControls();
    fixture_register_view_class();
    fixture_pending = plan;
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(NULL), (const DLGTEMPLATE*)storage, NULL,
                                             fixture_dialog_proc, init_param);
    fixture_pending = NULL;
    return dialog;
}

// ---------------------------------------------------------------------------
// The recent store of this program, the key Data\<executable name> below
// HKCU\software\Corvane Software\Lumora, with the list keys Files and Folders.

static const char* filedlg_application_name(void)
{
    static char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, MAX_PATH);
    const char* name = strrchr(path, '\\');
    return name != NULL ? name + 1 : path;
}

static void filedlg_application_key(char* key, size_t size)
{
    snprintf(key, size, "software\\Corvane Software\\Lumora\\Data\\%s", filedlg_application_name());
}

// Writes `entries` (oldest first, at most nine so that Wine's sorted value
// order matches creation order) as the list `list_key` ("Files" or
// "Folders"), replacing what was there.
static BOOL filedlg_seed_list(const char* list_key, const char* const* entries, int count)
{
    char key[MAX_PATH], name[32];
    HKEY list;
    filedlg_application_key(key, sizeof key);
    lstrcatA(key, "\\");
    lstrcatA(key, list_key);
    RegDeleteTreeA(HKEY_CURRENT_USER, key);
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, NULL, 0, KEY_READ | KEY_WRITE, NULL, &list, NULL) != ERROR_SUCCESS)
        return FALSE;
    BOOL written = TRUE;
    for (int i = 0; i < count; ++i) {
        snprintf(name, sizeof name, "%s%d", strcmp(list_key, "Files") == 0 ? "File_" : "Folder_", i + 1);
        written &= RegSetValueExA(list, name, 0, REG_SZ, (const BYTE*)entries[i], lstrlenA(entries[i]) + 1) ==
                   ERROR_SUCCESS;
    }
    RegCloseKey(list);
    return written;
}

static void filedlg_clear_store(void)
{
    char key[MAX_PATH];
    filedlg_application_key(key, sizeof key);
    RegDeleteTreeA(HKEY_CURRENT_USER, key);
}
