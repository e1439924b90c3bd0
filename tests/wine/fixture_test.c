// Attachment and layout on small fixture dialogs built by the test, for what
// the platform's own file dialogs cannot show: exact layout numbers, a view
// that is no direct child, several toolbars, two dialogs open at once, a
// second WM_INITDIALOG, a second thread, and the hook removed under an open
// dialog. The library is loaded at run time, not imported, so that the test
// can see whether it stays in the process when the test lets go of it.
//
// The order of the tests matters twice: the first one needs a library that
// has never attached a dialog (attaching pins it for good), and the last one
// switches the process's file-name control to edt1 for good.
#include "wtest.h"
#include "filedlg.h"

typedef int(__cdecl* install_hook_function)(int install, DWORD threadId);

static HMODULE g_library;
static install_hook_function g_install;

static void load_library(void)
{
    if (g_library == NULL)
        g_library = LoadLibraryA("LumoraHook.dll");
    g_install = g_library ? (install_hook_function)(void*)GetProcAddress(g_library, "Marquel_InstallHook") : NULL;
    ok(g_install != NULL, "LumoraHook.dll not usable: %lu\n", GetLastError());
}

static int install(int on, DWORD thread)
{
    return g_install != NULL ? g_install(on, thread) : 0;
}

// The common fixture: the folder combo box from 100 to 295, the toolbar from
// 300, 100 pixels wide, the view from 10 to 560, and the file-name box.
#define VIEW_LEFT 10
#define CHILD_COMBO {"ComboBox", cmb2, 100, 5, 195, 200, -1}
#define CHILD_TOOLBAR(id) {TOOLBARCLASSNAMEA, id, 300, 5, 100, 26, -1}
#define CHILD_VIEW(right) {"SHELLDLL_DefView", lst2, VIEW_LEFT, 40, (right) - VIEW_LEFT, 200, -1}
#define CHILD_NAME {"Edit", cmb13, 10, 260, 300, 22, -1}
#define CHILD_EDIT {"Edit", edt1, 10, 290, 300, 22, -1}

static const fixture_child kStandard[] = {CHILD_COMBO, CHILD_TOOLBAR(1), CHILD_VIEW(560), CHILD_NAME};
static const fixture_plan kStandardPlan = {600, 320, kStandard, 4, NULL, 0};

static const char* const kRecentFiles[] = {"C:\\older.txt", "C:\\newest.txt"};

static BOOL attached(HWND dialog)
{
    return filedlg_in_library(filedlg_window_proc(dialog));
}

static void move_dialog(HWND dialog, int dx, int dy)
{
    RECT rect;
    GetWindowRect(dialog, &rect);
    SetWindowPos(dialog, NULL, rect.left + dx, rect.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pump_messages(20);
}

// A tooltip request for a recent button, as the toolbar's tooltip control
// sends it; the text the dialog answered with.
static LRESULT ask_tooltip(HWND dialog, HWND sender, int button, char* text)
{
    NMTTDISPINFOA info;
    ZeroMemory(&info, sizeof info);
    info.hdr.hwndFrom = sender;
    info.hdr.idFrom = button;
    info.hdr.code = TTN_NEEDTEXTA;
    info.lpszText = info.szText;
    LRESULT result = SendMessageA(dialog, WM_NOTIFY, button, (LPARAM)&info);
    lstrcpynA(text, info.szText, 80);
    return result;
}

// The hook is removed and the test's own reference released while an
// attached dialog is open: the dialog's window procedure lives in the
// library, so the library must stay, and the dialog must go on working.
static void test_hook_removed_while_open(void)
{
    HMODULE probe = LoadLibraryA("LumoraHook.dll");
    ok(probe != NULL, "LoadLibrary failed: %lu\n", GetLastError());
    FreeLibrary(probe);
    ok(GetModuleHandleA("LumoraHook.dll") == NULL, "library held by something before any dialog\n");

    load_library();
    ok(install(1, GetCurrentThreadId()) == 1, "hook not installed\n");
    HWND dialog = fixture_create(&kStandardPlan, 1);
    ok(dialog != NULL && attached(dialog), "fixture not attached\n");
    install(0, 0);
    FreeLibrary(g_library);
    g_library = NULL;
    g_install = NULL;
    ok(GetModuleHandleA("LumoraHook.dll") != NULL, "library unloaded under an open dialog\n");

    char text[80] = "";
    LRESULT result = ask_tooltip(dialog, dialog, FILEDLG_DOCUMENTS_BUTTON, text);
    ok(result == 0 && strcmp(text, "Recent Documents") == 0, "tooltip after unhooking: %Id \"%s\"\n", result, text);
    move_dialog(dialog, 10, 10);
    RECT bar = filedlg_rect_in(filedlg_toolbar(dialog, 1), dialog);
    ok(bar.left == 300 && bar.right == 530, "toolbar at %ld..%ld after unhooking\n", bar.left, bar.right);
    ok(DestroyWindow(dialog) && !IsWindow(dialog), "dialog not destroyed\n");
    pump_messages(20);
    ok(GetModuleHandleA("LumoraHook.dll") != NULL, "library unloaded after the dialog\n");
    load_library();
}

// Windows that look like a file dialog in every way but one.
static void test_not_attached(void)
{
    // The view inside a frame of its own: a grandchild of the dialog.
    static const fixture_child nested[] = {
        CHILD_COMBO, CHILD_TOOLBAR(1), {"Static", 50, VIEW_LEFT, 40, 550, 200, -1},
        {"SHELLDLL_DefView", lst2, 0, 0, 550, 200, 2}, CHILD_NAME};
    static const fixture_plan nested_plan = {600, 320, nested, 5, NULL, 0};
    static const struct {
        const char* name;
        const fixture_plan* plan;
        LPARAM init_param;
    } cases[] = {
        {"WM_INITDIALOG with lParam 0", &kStandardPlan, 0},
        {"view not a direct child", &nested_plan, 1},
    };
    install(1, GetCurrentThreadId());
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        HWND dialog = fixture_create(cases[i].plan, cases[i].init_param);
        HWND toolbar = filedlg_toolbar(dialog, 1);
        ok(dialog != NULL && !attached(dialog), "%s: attached\n", cases[i].name);
        ok(filedlg_button_count(toolbar) == FIXTURE_OWN_BUTTONS, "%s: %d buttons\n", cases[i].name,
           filedlg_button_count(toolbar));
        ok(SendMessageA(toolbar, TB_GETEXTENDEDSTYLE, 0, 0) == FIXTURE_EXTENDED_STYLE, "%s: extended style changed\n",
           cases[i].name);
        RECT bar = filedlg_rect_in(toolbar, dialog);
        ok(bar.left == 300 && bar.right == 400, "%s: toolbar laid out: %ld..%ld\n", cases[i].name, bar.left, bar.right);
        ok(!IsWindowVisible(dialog), "%s: dialog shown\n", cases[i].name);
        DestroyWindow(dialog);
    }
    install(0, 0);
}

// Two toolbars, the first in z-order with another id: only the one with id 1
// receives the separator and the buttons, after its own.
static void test_toolbar_choice(void)
{
    static const fixture_child two[] = {CHILD_COMBO, CHILD_TOOLBAR(5), CHILD_TOOLBAR(1), CHILD_VIEW(560), CHILD_NAME};
    static const fixture_plan plan = {600, 320, two, 5, NULL, 0};
    install(1, GetCurrentThreadId());
    HWND dialog = fixture_create(&plan, 1);
    HWND first = filedlg_toolbar(dialog, 5), second = filedlg_toolbar(dialog, 1);
    ok(FindWindowExA(dialog, NULL, TOOLBARCLASSNAMEA, NULL) == first, "toolbar 5 is not first in z-order\n");

    ok(filedlg_button_count(first) == FIXTURE_OWN_BUTTONS, "first toolbar has %d buttons\n",
       filedlg_button_count(first));
    ok(SendMessageA(first, TB_GETEXTENDEDSTYLE, 0, 0) == FIXTURE_EXTENDED_STYLE, "first toolbar's style changed\n");
    ok(filedlg_button_count(second) == FIXTURE_OWN_BUTTONS + 3, "second toolbar has %d buttons\n",
       filedlg_button_count(second));
    // The dialog's own extended style is dropped: exactly the arrows remain.
    ok(SendMessageA(second, TB_GETEXTENDEDSTYLE, 0, 0) == TBSTYLE_EX_DRAWDDARROWS, "extended style %#Ix\n",
       SendMessageA(second, TB_GETEXTENDEDSTYLE, 0, 0));
    static const struct {
        int id, image, style;
    } expected[3] = {
        {0, -1, BTNS_SEP},
        {FILEDLG_DOCUMENTS_BUTTON, 0, BTNS_DROPDOWN | BTNS_WHOLEDROPDOWN},
        {FILEDLG_FOLDERS_BUTTON, 11, BTNS_DROPDOWN | BTNS_WHOLEDROPDOWN},
    };
    for (int i = 0; i < 3; ++i) {
        TBBUTTON button;
        filedlg_button(second, FIXTURE_OWN_BUTTONS + i, &button);
        ok(button.idCommand == expected[i].id && button.fsStyle == expected[i].style &&
               button.fsState == TBSTATE_ENABLED && (expected[i].image < 0 || button.iBitmap == expected[i].image),
           "button %d: id %d style %#x state %#x image %d\n", i, button.idCommand, button.fsStyle, button.fsState,
           button.iBitmap);
    }
    RECT bar = filedlg_rect_in(second, dialog);
    ok(bar.right - bar.left == 230, "second toolbar %ld wide\n", bar.right - bar.left);
    DestroyWindow(dialog);
    install(0, 0);
}

// A hidden dialog that sends itself to the bottom of the z-order during
// WM_INITDIALOG: attachment shows it, above the test's other window, and
// leaves it not topmost. Without attachment (lParam 0) it stays as it was.
static void test_raised(void)
{
    static const fixture_plan bottom_plan = {600, 320, kStandard, 4, NULL, 1};
    HWND other = CreateWindowExA(0, "Static", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, NULL, NULL,
                                 GetModuleHandleA(NULL), NULL);
    SetForegroundWindow(other);
    pump_messages(20);
    install(1, GetCurrentThreadId());
    for (LPARAM init_param = 0; init_param <= 1; ++init_param) {
        HWND dialog = fixture_create(&bottom_plan, init_param);
        BOOL raised = IsWindowVisible(dialog) && filedlg_is_above(dialog, other);
        ok(raised == (init_param != 0), "lParam %Id: visible %d, above the other window %d\n", init_param,
           IsWindowVisible(dialog), filedlg_is_above(dialog, other));
        ok(!(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST), "lParam %Id: dialog topmost\n", init_param);
        DestroyWindow(dialog);
    }
    install(0, 0);
    DestroyWindow(other);
}

// The two layout examples under class 0 (width 230): the toolbar keeps its
// place when it fits; otherwise its right edge comes to the view's and the
// combo box gives up as much. Another position change changes nothing more.
static void test_layout(void)
{
    static const struct {
        int view_right;
        int toolbar_left;
        int combo_right;
    } cases[] = {
        {560, 300, 295},   // overflow -30: fits
        {500, 270, 265},   // overflow 30
    };
    install(1, GetCurrentThreadId());
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        fixture_child children[] = {CHILD_COMBO, CHILD_TOOLBAR(1), CHILD_VIEW(cases[i].view_right), CHILD_NAME};
        fixture_plan plan = {600, 320, children, 4, NULL, 0};
        HWND dialog = fixture_create(&plan, 1);
        HWND toolbar = filedlg_toolbar(dialog, 1), combo = GetDlgItem(dialog, cmb2);
        for (int pass = 0; pass < 2; ++pass) {
            RECT bar = filedlg_rect_in(toolbar, dialog), box = filedlg_rect_in(combo, dialog);
            ok(bar.left == cases[i].toolbar_left && bar.right - bar.left == 230 && bar.top == 5 &&
                   bar.bottom - bar.top == 26,
               "view right %d, pass %d: toolbar %ld,%ld..%ld,%ld\n", cases[i].view_right, pass, bar.left, bar.top,
               bar.right, bar.bottom);
            ok(box.left == 100 && box.right == cases[i].combo_right && box.top == 5,
               "view right %d, pass %d: combo %ld..%ld\n", cases[i].view_right, pass, box.left, box.right);
            move_dialog(dialog, 15, 7);
        }
        DestroyWindow(dialog);
    }
    install(0, 0);
}

// No toolbar with the class's id: nothing is added or moved, but the dialog
// is attached and its lists loaded: a documents entry chosen by command goes
// into the file-name box and OK is pressed.
static void test_no_matching_toolbar(void)
{
    static const fixture_child children[] = {CHILD_COMBO, CHILD_TOOLBAR(7), CHILD_VIEW(500), CHILD_NAME};
    static const fixture_plan plan = {600, 320, children, 4, NULL, 0};
    ok(filedlg_seed_list("Files", kRecentFiles, 2), "registry not seeded\n");
    install(1, GetCurrentThreadId());
    HWND dialog = fixture_create(&plan, 1);
    HWND toolbar = filedlg_toolbar(dialog, 7);
    ok(attached(dialog), "dialog not attached\n");
    ok(filedlg_button_count(toolbar) == FIXTURE_OWN_BUTTONS && !filedlg_has_recent_buttons(dialog),
       "%d buttons\n", filedlg_button_count(toolbar));
    move_dialog(dialog, 5, 5);
    RECT bar = filedlg_rect_in(toolbar, dialog), box = filedlg_rect_in(GetDlgItem(dialog, cmb2), dialog);
    ok(bar.left == 300 && bar.right == 400 && box.left == 100 && box.right == 295,
       "moved without a toolbar: toolbar %ld..%ld, combo %ld..%ld\n", bar.left, bar.right, box.left, box.right);

    static const struct {
        UINT command;
        const char* text;
    } choices[] = {{FILEDLG_DOCUMENTS_BASE, "C:\\newest.txt"}, {FILEDLG_DOCUMENTS_BASE + 1, "C:\\older.txt"}};
    fixture_state* state = fixture_state_of(dialog);
    for (int i = 0; i < 2; ++i) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(choices[i].command, 0), 0);
        ok(state->oks == i + 1 && strcmp(state->ok_text[0], choices[i].text) == 0,
           "command %u: %d OK, file name \"%s\"\n", choices[i].command, state->oks, state->ok_text[0]);
    }
    DestroyWindow(dialog);
    install(0, 0);
    filedlg_clear_store();
}

// ---------------------------------------------------------------------------
// Two dialogs open at once. Each has a window procedure of its own in front
// of the dialog manager's, so that a message delivered to the wrong one shows.

typedef struct {
    char proc;
    HWND window;
} tag_hit;

#define TAG_MESSAGE (WM_APP + 7)
static tag_hit g_hits[8];
static int g_hit_count;

static LRESULT tag_message(char proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == TAG_MESSAGE && g_hit_count < 8) {
        g_hits[g_hit_count].proc = proc;
        g_hits[g_hit_count].window = window;
        g_hit_count++;
    }
    return fixture_forward(window, message, wParam, lParam);
}

static LRESULT CALLBACK tag_proc_a(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return tag_message('A', window, message, wParam, lParam);
}

static LRESULT CALLBACK tag_proc_b(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return tag_message('B', window, message, wParam, lParam);
}

// Sends the tag message and checks that exactly `proc` saw it, for `window`.
static void check_route(HWND window, char proc, const char* when)
{
    g_hit_count = 0;
    SendMessageA(window, TAG_MESSAGE, 0, 0);
    ok(g_hit_count == 1 && g_hits[0].proc == proc && g_hits[0].window == window,
       "%s: %d deliveries, first to %c for %p, expected %c for %p\n", when, g_hit_count,
       g_hit_count ? g_hits[0].proc : '-', g_hit_count ? (void*)g_hits[0].window : NULL, proc, (void*)window);
}

static void test_two_dialogs_open(void)
{
    static const fixture_plan plan_a = {600, 320, kStandard, 4, tag_proc_a, 0};
    static const fixture_plan plan_b = {600, 320, kStandard, 4, tag_proc_b, 0};
    filedlg_menu menu;
    ok(filedlg_seed_list("Files", kRecentFiles, 2), "registry not seeded\n");
    install(1, GetCurrentThreadId());
    HWND first = fixture_create(&plan_a, 1);
    HWND second = fixture_create(&plan_b, 1);
    move_dialog(second, 200, 150);
    HWND first_bar = filedlg_toolbar(first, 1), second_bar = filedlg_toolbar(second, 1);
    ok(attached(first) && attached(second), "not both attached\n");
    check_route(first, 'A', "first dialog");
    check_route(second, 'B', "second dialog");

    // Only the dialog attached last answers its drop-downs; the first one's
    // notification goes on to its own procedure.
    filedlg_watch_menus(&menu);
    fixture_state* first_state = fixture_state_of(first);
    int notifies = first_state->notifies;
    filedlg_drop_down(first, first_bar, FILEDLG_DOCUMENTS_BUTTON);
    ok(menu.shown == 0 && first_state->notifies == notifies + 1,
       "first dialog's drop-down: %d menus, passed on %d\n", menu.shown, first_state->notifies - notifies);
    filedlg_drop_down(second, second_bar, FILEDLG_DOCUMENTS_BUTTON);
    ok(menu.shown == 1 && menu.owner == second, "second dialog's drop-down: %d menus\n", menu.shown);
    ok(menu.count == 4 && strcmp(menu.texts[0], "C:\\newest.txt") == 0 && menu.ids[0] == FILEDLG_DOCUMENTS_BASE &&
           strcmp(menu.texts[1], "C:\\older.txt") == 0 && menu.ids[1] == FILEDLG_DOCUMENTS_BASE + 1 &&
           (menu.types[2] & MFT_SEPARATOR) && menu.ids[3] == FILEDLG_CLEAR_DOCUMENTS,
       "second dialog's menu: %d items, \"%s\" %u\n", menu.count, menu.texts[0], menu.ids[0]);

    // A position change of the first dialog does not touch the second's
    // toolbar, which is not its child (seen from the first dialog, that
    // toolbar would reach far past the view).
    RECT before = filedlg_rect_in(second_bar, second);
    move_dialog(first, -30, 40);
    RECT after = filedlg_rect_in(second_bar, second);
    ok(EqualRect(&before, &after), "second toolbar moved from %ld,%ld to %ld,%ld\n", before.left, before.top,
       after.left, after.top);

    // Closing the first dialog releases the lists for both.
    DestroyWindow(first);
    check_route(second, 'B', "second dialog after the first closed");
    filedlg_drop_down(second, second_bar, FILEDLG_DOCUMENTS_BUTTON);
    int empty = filedlg_menu_find(&menu, "Empty");
    ok(menu.shown == 2 && menu.count == 2 && empty == 1 && menu.ids[1] == FILEDLG_CLEAR_DOCUMENTS &&
           (menu.states[1] & MFS_GRAYED) && (menu.types[0] & MFT_SEPARATOR),
       "menu after the first dialog closed: %d items, \"%s\"\n", menu.count, menu.texts[menu.count - 1]);
    filedlg_unwatch_menus();
    DestroyWindow(second);
    install(0, 0);
    filedlg_clear_store();
}

// WM_INITDIALOG a second time: the dialog is attached already, so nothing is
// added twice and no message runs the library's procedure twice.
static void test_initdialog_again(void)
{
    static const fixture_plan plan = {600, 320, kStandard, 4, tag_proc_a, 0};
    install(1, GetCurrentThreadId());
    HWND dialog = fixture_create(&plan, 1);
    HWND toolbar = filedlg_toolbar(dialog, 1);
    void* proc = filedlg_window_proc(dialog);
    SendMessageA(dialog, WM_INITDIALOG, 0, 1);
    ok(fixture_state_of(dialog)->initdialogs == 2, "WM_INITDIALOG reached the dialog %d times\n",
       fixture_state_of(dialog)->initdialogs);
    ok(filedlg_window_proc(dialog) == proc && filedlg_in_library(proc), "window procedure changed\n");
    ok(filedlg_button_count(toolbar) == FIXTURE_OWN_BUTTONS + 3, "%d buttons\n", filedlg_button_count(toolbar));
    check_route(dialog, 'A', "after a second WM_INITDIALOG");
    char text[80] = "";
    ask_tooltip(dialog, dialog, FILEDLG_FOLDERS_BUTTON, text);
    ok(strcmp(text, "Recent Folders") == 0, "tooltip \"%s\"\n", text);
    DestroyWindow(dialog);
    install(0, 0);
}

// ---------------------------------------------------------------------------
// A real file dialog on a second thread while this thread has one attached.

typedef struct {
    HANDLE shown[2];     // set when the thread's dialog number i has ended
    HANDLE go;           // lets the thread show its second dialog
    BOOL buttons[2];
    BOOL attached[2];
    int inspected[2];
} second_thread;

static int g_round;

static void look_from_second_thread(HWND dialog, void* context)
{
    second_thread* run = (second_thread*)context;
    run->buttons[g_round] = filedlg_has_recent_buttons(dialog);
    run->attached[g_round] = attached(dialog);
}

static DWORD WINAPI second_thread_main(void* parameter)
{
    second_thread* run = (second_thread*)parameter;
    filedlg_options options = {.flags = OFN_EXPLORER, .inspect = look_from_second_thread, .context = run};
    for (g_round = 0; g_round < 2; ++g_round) {
        if (g_round == 1)
            WaitForSingleObject(run->go, FILEDLG_TIMEOUT_MS);
        run->inspected[g_round] = filedlg_show(&options).inspected;
        SetEvent(run->shown[g_round]);
    }
    return 0;
}

// Waits for `object` while this thread's windows keep working.
static BOOL wait_pumping(HANDLE object, DWORD timeout_ms)
{
    DWORD end = GetTickCount() + timeout_ms;
    for (;;) {
        DWORD left = end - GetTickCount();
        if ((LONG)left <= 0)
            return FALSE;
        if (MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_ALLINPUT) == WAIT_OBJECT_0)
            return TRUE;
        pump_messages(0);
    }
}

static void test_second_thread(void)
{
    second_thread run;
    ZeroMemory(&run, sizeof run);
    run.shown[0] = CreateEventA(NULL, TRUE, FALSE, NULL);
    run.shown[1] = CreateEventA(NULL, TRUE, FALSE, NULL);
    run.go = CreateEventA(NULL, TRUE, FALSE, NULL);
    ok(install(1, 0) == 1, "hook for all threads not installed\n");
    HWND dialog = fixture_create(&kStandardPlan, 1);
    ok(attached(dialog), "this thread's dialog not attached\n");

    HANDLE thread = CreateThread(NULL, 0, second_thread_main, &run, 0, NULL);
    ok(wait_pumping(run.shown[0], 2 * FILEDLG_TIMEOUT_MS), "second thread's first dialog did not end\n");
    ok(run.inspected[0] && !run.attached[0] && !run.buttons[0],
       "dialog on the second thread while this one is attached: attached %d, buttons %d\n", run.attached[0],
       run.buttons[0]);
    ok(attached(dialog) && filedlg_button_count(filedlg_toolbar(dialog, 1)) == FIXTURE_OWN_BUTTONS + 3,
       "this thread's dialog disturbed\n");

    DestroyWindow(dialog);
    SetEvent(run.go);
    ok(wait_pumping(run.shown[1], 2 * FILEDLG_TIMEOUT_MS), "second thread's second dialog did not end\n");
    ok(run.inspected[1] && run.attached[1] && run.buttons[1],
       "dialog on the second thread after this one closed: attached %d, buttons %d\n", run.attached[1],
       run.buttons[1]);
    wait_pumping(thread, FILEDLG_TIMEOUT_MS);
    CloseHandle(thread);
    install(0, 0);
    for (int i = 0; i < 2; ++i)
        CloseHandle(run.shown[i]);
    CloseHandle(run.go);
}

// The first attached dialog without cmb13 makes edt1 the file-name control
// for every later dialog of the process, also those that have cmb13. Runs
// last: nothing sets it back.
static void test_file_name_switch(void)
{
    static const fixture_child both[] = {CHILD_COMBO, CHILD_TOOLBAR(1), CHILD_VIEW(560), CHILD_NAME, CHILD_EDIT};
    static const fixture_child edit_only[] = {CHILD_COMBO, CHILD_TOOLBAR(1), CHILD_VIEW(560), CHILD_EDIT};
    static const fixture_plan both_plan = {600, 320, both, 5, NULL, 0};
    static const fixture_plan edit_plan = {600, 320, edit_only, 4, NULL, 0};
    static const struct {
        const char* name;
        const fixture_plan* plan;
        const char* name_box;   // what cmb13 holds at OK
        const char* edit_box;   // what edt1 holds at OK
    } steps[] = {
        {"both controls, before", &both_plan, "C:\\newest.txt", ""},
        {"edt1 only", &edit_plan, "", "C:\\newest.txt"},
        {"both controls, after", &both_plan, "", "C:\\newest.txt"},
    };
    ok(filedlg_seed_list("Files", kRecentFiles, 2), "registry not seeded\n");
    install(1, GetCurrentThreadId());
    for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
        HWND dialog = fixture_create(steps[i].plan, 1);
        fixture_state* state = fixture_state_of(dialog);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(FILEDLG_DOCUMENTS_BASE, 0), 0);
        ok(state->oks == 1 && strcmp(state->ok_text[0], steps[i].name_box) == 0 &&
               strcmp(state->ok_text[1], steps[i].edit_box) == 0,
           "%s: %d OK, cmb13 \"%s\", edt1 \"%s\"\n", steps[i].name, state->oks, state->ok_text[0], state->ok_text[1]);
        DestroyWindow(dialog);
    }
    install(0, 0);
    filedlg_clear_store();
}

WTEST_MAIN(test_hook_removed_while_open, test_not_attached, test_toolbar_choice, test_raised, test_layout,
           test_no_matching_toolbar, test_two_dialogs_open, test_initdialog_again, test_second_thread,
           test_file_name_switch)
