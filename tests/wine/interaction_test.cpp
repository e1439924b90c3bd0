// The library at work in an attached Open dialog: the recent buttons'
// tooltips, their drop-down menus, choosing a document or a folder, clearing
// a list, and recording the chosen path when the dialog closes. Platform
// dialogs are driven as a user would, with the mouse on the toolbar and the
// keyboard in the menu; a fixture dialog of our own answers the path request
// with chosen contents where only that can show a case.
#include "interaction.h"

static const char kStart[] = "C:\\lumora-interaction\\start";
static const char kStartFile[] = "C:\\lumora-interaction\\start\\ok.txt";
static const char kDocsFolder[] = "C:\\lumora-interaction\\docs\\";
// Oldest first, as the store keeps them: the menu shows gamma, beta, alpha.
static const char* const kDocuments[3] = {
    "C:\\lumora-interaction\\docs\\alpha.txt",
    "C:\\lumora-interaction\\docs\\beta.txt",
    "C:\\lumora-interaction\\docs\\gamma.txt",
};
static const char* const kFolders[2] = {
    "C:\\lumora-interaction\\one\\",
    "C:\\lumora-interaction\\two\\",
};

static void test_setup(void)
{
    create_product_key();
    ok(Marquel_InstallHook(1, GetCurrentThreadId()) == 1, "the hook was not installed\n");
    CreateDirectoryA("C:\\lumora-interaction", NULL);
    CreateDirectoryA(kStart, NULL);
    CreateDirectoryA("C:\\lumora-interaction\\start\\sub", NULL);
    CreateDirectoryA("C:\\lumora-interaction\\docs", NULL);
    CreateDirectoryA(kFolders[0], NULL);
    CreateDirectoryA(kFolders[1], NULL);
    make_file(kStartFile);
    for (const char* document : kDocuments)
        make_file(document);
}

// Clicks a recent button, as a user does, and waits for its menu.
static HWND open_recent_menu(DialogRun* run, UINT id)
{
    RECT button = button_screen_rect(run->toolbar, id);
    POINT point = center_of(button);
    HWND under = WindowFromPoint(point);
    HWND foreground = GetForegroundWindow();
    click_at(point);
    HWND menu = wait_menu_open();
    ok(menu != NULL, "no menu opened for %u at %ld,%ld: window there %p (toolbar %p), foreground %p (dialog %p)\n", id,
       point.x, point.y, under, run->toolbar, foreground, run->dialog);
    return menu;
}

static void click_cancel(DialogRun* run)
{
    click_at(control_center(GetDlgItem(run->dialog, IDCANCEL)));
}

static bool same_text(const char* a, const char* b)
{
    return lstrcmpA(a, b) == 0;
}

// The first button of the dialog's own toolbar that is not a separator.
static int first_own_button(HWND toolbar)
{
    int buttons = (int)SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0);
    for (int i = 0; i < buttons; ++i) {
        TBBUTTON button;
        ZeroMemory(&button, sizeof button);
        SendMessageA(toolbar, TB_GETBUTTON, i, (LPARAM)&button);
        if (!(button.fsStyle & BTNS_SEP) && button.idCommand != kDocumentsButton && button.idCommand != kFoldersButton)
            return button.idCommand;
    }
    return 0;
}

// --- tooltips ------------------------------------------------------------

static void drive_tooltips(DialogRun* run)
{
    HWND tooltip = (HWND)SendMessageA(run->toolbar, TB_GETTOOLTIPS, 0, 0);
    ok(tooltip != NULL, "the toolbar has no tooltip control\n");
    HWND other = tooltip ? tooltip : GetDlgItem(run->dialog, IDOK);
    UINT own = first_own_button(run->toolbar);

    static const struct {
        bool wide;
        UINT id;
        bool fromToolbar;
        const char* answer;   // NULL: passed on to the dialog unanswered
    } kRows[] = {
        {false, kDocumentsButton, false, "Recent Documents"},
        {true, kFoldersButton, false, "Recent Folders"},
        {true, kDocumentsButton, false, "Recent Documents"},
        {false, kFoldersButton, false, "Recent Folders"},
        // The toolbar's own request is the dialog's business.
        {false, kDocumentsButton, true, NULL},
        {true, kFoldersButton, true, NULL},
        // A button of the dialog's own.
        {false, 0, false, NULL},
    };
    for (const auto& row : kRows) {
        UINT id = row.id ? row.id : own;
        const char* kind = row.wide ? "UTF-16" : "8-bit";
        HWND from = row.fromToolbar ? run->toolbar : other;
        LONG since = g_spyCount;
        LRESULT result;
        char text[80];
        if (row.wide) {
            NMTTDISPINFOW info;
            ZeroMemory(&info, sizeof info);
            info.hdr.hwndFrom = from;
            info.hdr.idFrom = id;
            info.hdr.code = TTN_NEEDTEXTW;
            info.lpszText = info.szText;
            lstrcpyW(info.szText, L"untouched");
            result = SendMessageA(run->dialog, WM_NOTIFY, id, (LPARAM)&info);
            WideCharToMultiByte(CP_ACP, 0, info.szText, -1, text, sizeof text, NULL, NULL);
        } else {
            NMTTDISPINFOA info;
            ZeroMemory(&info, sizeof info);
            info.hdr.hwndFrom = from;
            info.hdr.idFrom = id;
            info.hdr.code = TTN_NEEDTEXTA;
            info.lpszText = info.szText;
            lstrcpyA(info.szText, "untouched");
            result = SendMessageA(run->dialog, WM_NOTIFY, id, (LPARAM)&info);
            lstrcpyA(text, info.szText);
        }
        UINT code = row.wide ? TTN_NEEDTEXTW : TTN_NEEDTEXTA;
        bool seen = spy_saw_notify(since, code, id);
        if (row.answer) {
            ok(same_text(text, row.answer), "%s request for %u: text \"%s\"\n", kind, id, text);
            ok(result == 0, "%s request for %u: result %ld\n", kind, id, (long)result);
            ok(!seen, "%s request for %u reached the dialog's procedure\n", kind, id);
        } else {
            ok(same_text(text, "untouched"), "%s request for %u from %s was answered: \"%s\"\n", kind, id,
               row.fromToolbar ? "the toolbar" : "the tooltip", text);
            ok(seen, "%s request for %u was not passed on\n", kind, id);
        }
    }

    // The real thing: the pointer rests on a button and its tooltip shows.
    static const struct {
        UINT id;
        const char* text;
    } kButtons[] = {{kDocumentsButton, "Recent Documents"}, {kFoldersButton, "Recent Folders"}};
    for (const auto& button : kButtons) {
        if (!tooltip)
            break;
        POINT point = center_of(button_screen_rect(run->toolbar, button.id));
        char shown[80] = "";
        // The tooltip shows when its timer finds the cursor still on the
        // button; under Wine a late pointer motion can have moved the cursor
        // away by then. As a user would, the pointer is nudged again.
        DWORD start = GetTickCount();
        bool visible = false;
        for (int nudge = 0; !visible && GetTickCount() - start < kStepTimeout; ++nudge) {
            POINT at = {point.x + nudge % 2, point.y};
            move_to(at);
            visible = wait_until(2000, [&] {
                if (!IsWindowVisible(tooltip))
                    return false;
                SendMessageA(tooltip, WM_GETTEXT, sizeof shown, (LPARAM)shown);
                return same_text(shown, button.text);
            });
        }
        ok(visible, "the tooltip of %u shows \"%s\" (visible %d)\n", button.id, shown, IsWindowVisible(tooltip));
    }
    move_to(control_center(GetDlgItem(run->dialog, IDCANCEL)));
    click_cancel(run);
}

static void test_tooltips(void)
{
    const bool kWide[] = {false, true};
    for (bool wide : kWide) {
        DialogRun run;
        ZeroMemory(&run, sizeof run);
        run.wide = wide;
        run.initialDir = kStart;
        run.drive = drive_tooltips;
        run_dialog(&run);
        ok(!run.result, "the dialog was not cancelled\n");
    }
}

// --- the documents menu, choosing a document ----------------------------

static void check_menu(HWND menuWindow, const char* const* entries, int count, UINT baseId, UINT clearId)
{
    MenuItem items[16];
    int n = read_menu(menuWindow, items, 16);
    ok(n == count + 2, "the menu has %d items, not %d\n", n, count + 2);
    for (int i = 0; i < count && i < n; ++i) {
        ok(items[i].id == baseId + i && same_text(items[i].text, entries[i]), "item %d is %u \"%s\", not %u \"%s\"\n",
           i, items[i].id, items[i].text, baseId + i, entries[i]);
        ok(!(items[i].state & MFS_GRAYED), "item %d is grayed\n", i);
    }
    if (n == count + 2) {
        ok((items[count].type & MFT_SEPARATOR) && items[count].id == 0, "item %d is not the separator\n", count);
        const MenuItem& last = items[count + 1];
        if (count == 0) {
            ok(last.id == clearId && same_text(last.text, "Empty"), "the last item is %u \"%s\"\n", last.id, last.text);
            HMENU menu = menu_of(menuWindow);
            UINT state = GetMenuState(menu, clearId, MF_BYCOMMAND);
            ok((state & MF_GRAYED) && (state & MF_DISABLED), "\"Empty\" has the state %#x\n", state);
        } else {
            ok(last.id == clearId && same_text(last.text, "< &Clear list >") && !(last.state & MFS_GRAYED),
               "the last item is %u \"%s\", state %#x\n", last.id, last.text, last.state);
        }
    }
}

// The dialog's own toolbar buttons keep their drop-downs. Wine's toolbar has
// no drop-down button of its own, so there the notification is made up for
// its first button: it must reach the dialog, and no menu of ours opens.
static void check_own_dropdown(DialogRun* run)
{
    int own = first_own_button(run->toolbar);
    NMTOOLBARA notification;
    ZeroMemory(&notification, sizeof notification);
    notification.hdr.hwndFrom = run->toolbar;
    notification.hdr.idFrom = GetDlgCtrlID(run->toolbar);
    notification.hdr.code = TBN_DROPDOWN;
    notification.iItem = own;
    LONG since = g_spyCount;
    DWORD_PTR result = 0;
    BOOL returned = SendMessageTimeoutA(run->dialog, WM_NOTIFY, notification.hdr.idFrom, (LPARAM)&notification,
                                        SMTO_NORMAL, 5000, &result);
    ok(returned && !open_menu_window(), "a drop-down of the dialog's button %d opened a menu\n", own);
    if (open_menu_window()) {
        press_key(VK_ESCAPE);
        wait_menu_closed();
    }
    ok(spy_saw_dropdown(since, own), "the drop-down of the dialog's button %d did not reach the dialog\n", own);
}

static void drive_empty_menu(DialogRun* run)
{
    check_own_dropdown(run);
    HWND menu = open_recent_menu(run, kDocumentsButton);
    if (menu) {
        check_menu(menu, NULL, 0, kDocumentsBase, kClearDocuments);
        // Nothing in it can be chosen.
        LONG since = g_spyCount;
        choose_by_click(menu, kClearDocuments);
        if (open_menu_window())
            press_key(VK_ESCAPE);
        wait_menu_closed();
        ok(sync_with_dialog(run->dialog), "the dialog did not answer\n");
        ok(!spy_saw_command(since, kClearDocuments), "the grayed \"Empty\" sent its command\n");
    }
    click_cancel(run);
}

// The centre of the label of the file view's item called name, in screen
// coordinates; false when the view does not show it.
static bool find_view_item(DialogRun* run, const char* name, POINT* center)
{
    HWND view = GetWindow(GetDlgItem(run->dialog, lst2), GW_CHILD);
    LVFINDINFOA find;
    ZeroMemory(&find, sizeof find);
    find.flags = LVFI_STRING;
    find.psz = name;
    int item = -1;
    wait_until(kStepTimeout, [&] { return (item = (int)SendMessageA(view, LVM_FINDITEMA, -1, (LPARAM)&find)) >= 0; });
    ok(item >= 0, "\"%s\" is not in the file view\n", name);
    if (item < 0)
        return false;
    RECT rect;
    rect.left = LVIR_LABEL;
    SendMessageA(view, LVM_GETITEMRECT, item, (LPARAM)&rect);
    MapWindowPoints(view, NULL, (POINT*)&rect, 2);
    *center = center_of(rect);
    return true;
}

// A folder is selected in the file view when the document is chosen: OK
// would open that folder instead, were the selection left.
static void select_subfolder(DialogRun* run)
{
    POINT point;
    if (!find_view_item(run, "sub", &point))
        return;
    click_at(point);
    HWND view = GetWindow(GetDlgItem(run->dialog, lst2), GW_CHILD);
    ok(wait_until(kStepTimeout, [&] { return SendMessageA(view, LVM_GETSELECTEDCOUNT, 0, 0) == 1; }),
       "the folder was not selected\n");
}

static void drive_choose_document(DialogRun* run)
{
    select_subfolder(run);
    RECT button = button_screen_rect(run->toolbar, kDocumentsButton);
    HWND menu = open_recent_menu(run, kDocumentsButton);
    if (!menu)
        return;
    const char* const newestFirst[3] = {kDocuments[2], kDocuments[1], kDocuments[0]};
    check_menu(menu, newestFirst, 3, kDocumentsBase, kClearDocuments);
    RECT place;
    GetWindowRect(menu, &place);
    ok(place.left == button.left && place.top == button.bottom, "the menu opened at %ld,%ld, not at %ld,%ld\n",
       place.left, place.top, button.left, button.bottom);
    ok(choose_by_keyboard(menu, kDocumentsBase + 1), "the second entry could not be chosen\n");
}

static void drive_recorded_first(DialogRun* run)
{
    // A command beyond the three entries is only passed on.
    SetDlgItemTextA(run->dialog, cmb13, "ok.txt");
    LONG since = g_spyCount;
    SendMessageA(run->dialog, WM_COMMAND, MAKEWPARAM(kDocumentsBase + 4, 0), 0);
    ok(spy_saw_command(since, kDocumentsBase + 4), "the command %u was not passed on\n", kDocumentsBase + 4);
    char text[MAX_PATH];
    control_text(run->dialog, cmb13, text, sizeof text);
    ok(IsWindow(run->dialog) && same_text(text, "ok.txt"), "the command %u changed the dialog: \"%s\"\n",
       kDocumentsBase + 4, text);

    HWND menu = open_recent_menu(run, kDocumentsButton);
    if (menu) {
        const char* const newestFirst[3] = {kDocuments[1], kDocuments[2], kDocuments[0]};
        check_menu(menu, newestFirst, 3, kDocumentsBase, kClearDocuments);
        press_key(VK_ESCAPE);
        ok(wait_menu_closed(), "the menu did not close\n");
    }
    // Cancel with a file named in the box: nothing may be recorded.
    click_cancel(run);
}

static void drive_both_empty(DialogRun* run)
{
    static const UINT kButtons[2][3] = {{kDocumentsButton, kDocumentsBase, kClearDocuments},
                                        {kFoldersButton, kFoldersBase, kClearFolders}};
    for (const auto& button : kButtons) {
        HWND menu = open_recent_menu(run, button[0]);
        if (!menu)
            break;
        check_menu(menu, NULL, 0, button[1], button[2]);
        press_key(VK_ESCAPE);
        ok(wait_menu_closed(), "the menu did not close\n");
    }
    click_cancel(run);
}

static void test_documents_menu(void)
{
    clear_lists();
    DialogRun run;
    ZeroMemory(&run, sizeof run);
    run.initialDir = kStart;
    run.drive = drive_empty_menu;
    run_dialog(&run);
    ok(!run.result, "the dialog was not cancelled\n");

    // The lists are read afresh for every dialog: the registry changed.
    seed_list("Files", "File_", kDocuments, 3);
    run.drive = drive_choose_document;
    run_dialog(&run);
    ok(run.result && same_text(run.file, kDocuments[1]), "the dialog ended with %d \"%s\"\n", run.result, run.file);
    ok(spy_saw_command(0, kDocumentsBase + 1), "the entry's command was not passed on\n");
    char values[10][MAX_PATH + 1];
    int count = read_list("Files", values, 10);
    ok(count == 3 && same_text(values[0], kDocuments[0]) && same_text(values[1], kDocuments[2]) &&
           same_text(values[2], kDocuments[1]),
       "Files holds %d: %s, %s, %s\n", count, values[0], values[1], values[2]);
    count = read_list("Folders", values, 10);
    ok(count == 1 && same_text(values[0], kDocsFolder), "Folders holds %d: %s\n", count, values[0]);

    run.drive = drive_recorded_first;
    run_dialog(&run);
    ok(!run.result, "the dialog was not cancelled\n");
    count = read_list("Files", values, 10);
    ok(count == 3 && same_text(values[2], kDocuments[1]), "the cancelled dialog changed Files: %d, %s\n", count,
       values[2]);

    // Without an application key nothing is loaded: the lists of the last
    // dialog must have gone with it.
    delete_application_key();
    run.drive = drive_both_empty;
    run_dialog(&run);
    ok(!run.result, "the dialog was not cancelled\n");
}

// --- choosing a folder --------------------------------------------------

// Lower-case letters, typed as their keys without Shift.
static void type_text(const char* text)
{
    for (const char* p = text; *p; ++p)
        press_key((WORD)(BYTE)(*p >= 'a' && *p <= 'z' ? *p - 'a' + 'A' : *p));
}

static void drive_choose_folder(DialogRun* run)
{
    HWND fileName = GetDlgItem(run->dialog, cmb13);
    click_at(control_center(fileName));
    type_text("typed");
    char text[MAX_PATH];
    ok(wait_until(kStepTimeout, [&] {
           control_text(run->dialog, cmb13, text, sizeof text);
           return same_text(text, "typed");
       }),
       "typing gave \"%s\"\n", text);

    HWND menu = open_recent_menu(run, kFoldersButton);
    if (!menu)
        return;
    const char* const newestFirst[2] = {kFolders[1], kFolders[0]};
    check_menu(menu, newestFirst, 2, kFoldersBase, kClearFolders);
    LONG since = g_spyCount;
    ok(choose_by_click(menu, kFoldersBase + 1), "the folder entry could not be clicked\n");
    ok(wait_menu_closed(), "the menu did not close\n");
    ok(wait_until(kStepTimeout, [&] { return spy_saw_command(since, kFoldersBase + 1); }),
       "the entry's command did not come\n");

    char folder[MAX_PATH] = "";
    char expected[MAX_PATH];
    lstrcpyA(expected, kFolders[0]);
    expected[lstrlenA(expected) - 1] = '\0';   // the platform names the folder without its backslash
    ok(wait_until(kStepTimeout, [&] {
           SendMessageA(run->dialog, CDM_GETFOLDERPATH, MAX_PATH, (LPARAM)folder);
           return same_text(folder, expected);
       }),
       "the dialog shows %s, not %s\n", folder, expected);
    ok(IsWindow(run->dialog), "the dialog ended\n");
    // The text comes back and the focus moves once the folder is shown.
    ok(wait_until(kStepTimeout, [&] {
           control_text(run->dialog, cmb13, text, sizeof text);
           return same_text(text, "typed");
       }),
       "the file-name box holds \"%s\"\n", text);
    HWND view = GetDlgItem(run->dialog, lst2);
    GUITHREADINFO info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    ok(wait_until(kStepTimeout, [&] {
           GetGUIThreadInfo(run->dialogThread, &info);
           return info.hwndFocus && (info.hwndFocus == view || IsChild(view, info.hwndFocus));
       }),
       "the focus is on %p, not in the file view %p\n", info.hwndFocus, view);
    click_cancel(run);
}

static void test_choose_folder(void)
{
    clear_lists();
    seed_list("Folders", "Folder_", kFolders, 2);
    DialogRun run;
    ZeroMemory(&run, sizeof run);
    run.initialDir = kStart;
    run.drive = drive_choose_folder;
    run_dialog(&run);
    ok(!run.result, "the dialog was not cancelled\n");
    char values[10][MAX_PATH + 1];
    int count = read_list("Folders", values, 10);
    ok(count == 2 && same_text(values[1], kFolders[1]), "the cancelled dialog changed Folders: %d\n", count);
    ok(read_list("Files", values, 10) == 0, "the cancelled dialog recorded a document\n");
}

// --- clearing -------------------------------------------------------------

static void drive_clear_documents(DialogRun* run)
{
    HWND menu = open_recent_menu(run, kDocumentsButton);
    if (!menu)
        return;
    ok(choose_by_click(menu, kClearDocuments), "the clear item could not be clicked\n");
    char values[10][MAX_PATH + 1];
    ok(wait_until(kStepTimeout, [&] { return read_list("Files", values, 10) == 0; }), "Files was not cleared\n");
    ok(wait_menu_closed(), "the menu did not close\n");

    menu = open_recent_menu(run, kDocumentsButton);
    if (menu) {
        check_menu(menu, NULL, 0, kDocumentsBase, kClearDocuments);
        press_key(VK_ESCAPE);
        wait_menu_closed();
    }
    menu = open_recent_menu(run, kFoldersButton);
    if (menu) {
        const char* const newestFirst[2] = {kFolders[1], kFolders[0]};
        check_menu(menu, newestFirst, 2, kFoldersBase, kClearFolders);
        press_key(VK_ESCAPE);
        wait_menu_closed();
    }
    click_cancel(run);
}

static void test_clear_documents(void)
{
    seed_list("Files", "File_", kDocuments, 3);
    seed_list("Folders", "Folder_", kFolders, 2);
    DialogRun run;
    ZeroMemory(&run, sizeof run);
    run.initialDir = kStart;
    run.drive = drive_clear_documents;
    run_dialog(&run);
    char values[10][MAX_PATH + 1];
    ok(read_list("Files", values, 10) == 0, "Files was not emptied, or is gone\n");
    ok(read_list("Folders", values, 10) == 2, "Folders lost its values\n");
}

// --- closing by OK --------------------------------------------------------

struct OkCase {
    bool wide;
    const char* initialDir;
    const char* folder;     // typed and confirmed with OK first to go there, or NULL
    const char* typed;
    bool doubleClick;       // the file is double-clicked in the view rather than typed
    const char* expected;   // the chosen file, recorded as is
};

static void type_and_ok(DialogRun* run, const char* text)
{
    SetDlgItemTextA(run->dialog, cmb13, text);
    click_at(control_center(GetDlgItem(run->dialog, IDOK)));
}

// Goes to the case's folder when it names one, then types the name into the
// file-name box and clicks OK, or double-clicks the file in the view (the
// platform's view then has the dialog take the selected file as for OK).
static void drive_ok(DialogRun* run)
{
    const OkCase* row = (const OkCase*)run->context;
    if (row->folder) {
        // OK on a folder's name shows that folder; the dialog stays.
        char expected[MAX_PATH], folder[MAX_PATH] = "";
        wsprintfA(expected, "%s\\%s", row->initialDir, row->folder);
        type_and_ok(run, row->folder);
        ok(wait_until(kStepTimeout, [&] {
               // A UTF-16 dialog answers in UTF-16 whatever the request's kind.
               if (run->wide) {
                   WCHAR wide[MAX_PATH] = L"";
                   SendMessageW(run->dialog, CDM_GETFOLDERPATH, MAX_PATH, (LPARAM)wide);
                   WideCharToMultiByte(CP_ACP, 0, wide, -1, folder, MAX_PATH, NULL, NULL);
               } else {
                   SendMessageA(run->dialog, CDM_GETFOLDERPATH, MAX_PATH, (LPARAM)folder);
               }
               return same_text(folder, expected);
           }),
           "the dialog shows %s, not %s\n", folder, expected);
        ok(IsWindow(run->dialog) && IsWindowVisible(run->dialog), "OK on the folder's name ended the dialog\n");
    }
    if (row->doubleClick) {
        POINT point;
        if (find_view_item(run, row->typed, &point)) {
            click_at(point);
            click_at(point);
        }
        return;
    }
    if (!run->wide) {
        // Platform difference: Wine answers with the folder joined to an
        // absolute name; the library has to take the name out again.
        char joined[MAX_PATH * 2] = "";
        SetDlgItemTextA(run->dialog, cmb13, row->typed);
        SendMessageA(run->dialog, CDM_GETFILEPATH, sizeof joined, (LPARAM)joined);
        if (lstrcmpA(joined, row->typed) != 0 && row->typed[1] == ':')
            printf("note: the dialog reports \"%s\" for the typed \"%s\"\n", joined, row->typed);
    }
    type_and_ok(run, row->typed);
}

static void test_ok_records(void)
{
    static const char kSub[] = "C:\\lumora-interaction\\start\\sub";
    static const char kSubFile[] = "C:\\lumora-interaction\\start\\sub\\deep.txt";
    make_file(kSubFile);
    static const OkCase kRows[] = {
        {false, kStart, NULL, "ok.txt", false, kStartFile},
        {true, kStart, NULL, "ok.txt", false, kStartFile},
        // An absolute name: Wine joins the folder to it.
        {false, kStart, NULL, kDocuments[1], false, kDocuments[1]},
        {true, kStart, NULL, kDocuments[1], false, kDocuments[1]},
        // A name relative to a folder other than the one the dialog started
        // in: the dialog's folder as it was when OK ended it, not the first
        // one nor whatever a dialog that has let its folder go reports.
        {false, kStart, "sub", "deep.txt", false, kSubFile},
        {true, kStart, "sub", "deep.txt", false, kSubFile},
        {false, kSub, NULL, "deep.txt", false, kSubFile},
        {false, kStart, "sub", "deep.txt", true, kSubFile},
        {true, kStart, "sub", "deep.txt", true, kSubFile},
    };
    for (const auto& row : kRows) {
        clear_lists();
        DialogRun run;
        ZeroMemory(&run, sizeof run);
        run.wide = row.wide;
        run.initialDir = row.initialDir;
        run.drive = drive_ok;
        run.context = (void*)&row;
        run_dialog(&run);
        char name[MAX_PATH * 2];
        wsprintfA(name, "%s \"%s%s%s\"%s in %s", row.wide ? "UTF-16" : "8-bit", row.folder ? row.folder : "",
                  row.folder ? "\" then \"" : "", row.typed, row.doubleClick ? " double-clicked" : "", row.initialDir);
        ok(run.result && same_text(run.file, row.expected), "%s: the dialog ended with %d \"%s\"\n", name,
           run.result, run.file);
        char values[10][MAX_PATH + 1];
        int count = read_list("Files", values, 10);
        ok(count == 1 && same_text(values[0], row.expected), "%s: Files holds %d \"%s\"\n", name, count, values[0]);
        char folder[MAX_PATH + 1];
        lstrcpyA(folder, row.expected);
        strrchr(folder, '\\')[1] = '\0';
        count = read_list("Folders", values, 10);
        ok(count == 1 && same_text(values[0], folder), "%s: Folders holds %d \"%s\"\n", name, count, values[0]);
    }
}

// --- the path request's answers, on the fixture dialog -------------------

static void test_path_answers(void)
{
    register_fixture_class();
    // The longest path the store takes (260 characters), and longer ones
    // that the platform cuts to the capacity asked for and reports in full.
    WCHAR longest[261], tooLong[300];
    char longest8[261], tooLong8[300];
    lstrcpyA(longest8, "C:\\fixture\\");
    for (int i = lstrlenA(longest8); i < 260; ++i)
        longest8[i] = 'a';
    longest8[260] = '\0';
    lstrcpynA(tooLong8, longest8, 261);
    for (int i = 260; i < 299; ++i)
        tooLong8[i] = 'b';
    tooLong8[299] = '\0';
    MultiByteToWideChar(CP_ACP, 0, longest8, -1, longest, 261);
    MultiByteToWideChar(CP_ACP, 0, tooLong8, -1, tooLong, 300);
    bool latin1 = GetACP() == 1252;

    static const char kPath[] = "C:\\fixture\\abcde.txt";   // 20 characters
    const struct {
        const char* name;
        WPARAM command;   // sent before the dialog is destroyed
        PathAnswer answer;
        const char* recorded;   // NULL: nothing
        bool latin1Only;        // the expected text is that of code page 1252
    } kRows[] = {
        {"no path (0)", 0, {false, kPath, NULL, 0}, NULL, false},
        {"failure (-1)", 0, {false, kPath, NULL, -1}, NULL, false},
        {"8-bit, 20 characters, 21", 0, {false, kPath, NULL, 21}, kPath, false},
        // A drive letter gives the UTF-16 text an 8-bit length of 1.
        {"UTF-16, 20 characters, 21", 0, {true, NULL, L"C:\\fixture\\abcde.txt", 21}, kPath, false},
        {"UTF-16 with a letter of the code page", 0, {true, NULL, L"C:\\fixture\\caf\u00e9s.txt", 21},
         "C:\\fixture\\caf\xe9s.txt", true},
        {"UTF-16, 260 characters, 261", 0, {true, NULL, longest, 261}, longest8, false},
        {"8-bit, 260 characters, 261", 0, {false, longest8, NULL, 261}, longest8, false},
        // Longer than the capacity: the buffer holds a cut path.
        {"UTF-16, 299 characters, 300", 0, {true, NULL, tooLong, 300}, NULL, false},
        {"8-bit, 299 characters, 300", 0, {false, tooLong8, NULL, 300}, NULL, false},
        {"cancelled", MAKEWPARAM(IDCANCEL, BN_CLICKED), {false, kPath, NULL, 21}, NULL, false},
        // The flag does not outlive the cancelled dialog.
        {"closed after a cancelled one", 0, {false, kPath, NULL, 21}, kPath, false},
        {"IDCANCEL with notification code 1", MAKEWPARAM(IDCANCEL, 1), {false, kPath, NULL, 21}, kPath, false},
    };
    for (const auto& row : kRows) {
        if (row.latin1Only && !latin1) {
            skip("%s: the code page is %u\n", row.name, GetACP());
            continue;
        }
        clear_lists();
        ok(close_fixture(&row.answer, row.command), "%s: the fixture was not attached\n", row.name);
        // A cancelled dialog is not even asked.
        WPARAM capacity = row.command == MAKEWPARAM(IDCANCEL, BN_CLICKED) ? 0 : 261;
        ok(g_requestCapacity == capacity, "%s: the path was asked for with capacity %u\n", row.name,
           (unsigned)g_requestCapacity);
        char values[10][MAX_PATH + 1];
        int count = read_list("Files", values, 10);
        if (!row.recorded) {
            ok(count <= 0, "%s: recorded \"%s\"\n", row.name, values[0]);
            continue;
        }
        ok(count == 1 && same_text(values[0], row.recorded), "%s: Files holds %d \"%s\"\n", row.name, count, values[0]);
        char folder[MAX_PATH + 1];
        lstrcpyA(folder, row.recorded);
        strrchr(folder, '\\')[1] = '\0';
        count = read_list("Folders", values, 10);
        ok(count == 1 && same_text(values[0], folder), "%s: Folders holds %d \"%s\"\n", row.name, count, values[0]);
    }
}

WTEST_MAIN(test_setup, test_tooltips, test_documents_menu, test_choose_folder, test_clear_documents, test_ok_records,
           test_path_answers)
