// The library in a process whose ANSI code page is double-byte (932, run in
// a Japanese locale). Paths hold characters whose second byte is a
// backslash (0x5C), so every search for a separator must step over whole
// characters; and a UTF-16 path can need more than 260 bytes in the code
// page while it has far fewer than 260 characters: such a path does not fit
// the store and must be left out, with nothing written past a buffer.
#include "interaction.h"

// U+8868 and U+30BD are 0x95 0x5C and 0x83 0x5C in code page 932.
static const WCHAR kFolderW[] = L"C:\\lumora-dbcs\\\u8868";
static const WCHAR kFileW[] = L"C:\\lumora-dbcs\\\u8868\\\u30bd.txt";
static const char kFile[] = "C:\\lumora-dbcs\\\x95\x5c\\\x83\x5c.txt";
static const char kFolder[] = "C:\\lumora-dbcs\\\x95\x5c\\";
static const char kStart[] = "C:\\lumora-dbcs";

static bool g_codePage932;

static void test_setup(void)
{
    g_codePage932 = GetACP() == 932;
    if (!g_codePage932) {
        skip("the ANSI code page is %u: these tests need 932 (a Japanese locale)\n", GetACP());
        return;
    }
    create_product_key();
    ok(Marquel_InstallHook(1, GetCurrentThreadId()) == 1, "the hook was not installed\n");
    CreateDirectoryA(kStart, NULL);
    CreateDirectoryW(kFolderW, NULL);
    HANDLE file = CreateFileW(kFileW, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ok(file != INVALID_HANDLE_VALUE, "cannot create the file: %lu\n", GetLastError());
    CloseHandle(file);
}

static bool same_text(const char* a, const char* b)
{
    return lstrcmpA(a, b) == 0;
}

// Types an absolute path into the file-name box and clicks OK.
static void drive_ok(DialogRun* run)
{
    SetDlgItemTextW(run->dialog, cmb13, (const WCHAR*)run->context);
    RECT rect;
    GetWindowRect(GetDlgItem(run->dialog, IDOK), &rect);
    click_at(center_of(rect));
}

static void drive_choose_first(DialogRun* run)
{
    RECT button = button_screen_rect(run->toolbar, kDocumentsButton);
    click_at(center_of(button));
    HWND menu = wait_menu_open();
    ok(menu != NULL, "no menu opened\n");
    if (!menu)
        return;
    MenuItem items[8];
    int count = read_menu(menu, items, 8);
    ok(count == 3 && items[0].id == kDocumentsBase && same_text(items[0].text, kFile),
       "the menu has %d items, the first %u \"%s\"\n", count, items[0].id, items[0].text);
    ok(choose_by_keyboard(menu, kDocumentsBase), "the entry could not be chosen\n");
}

static void test_record_dbcs_path(void)
{
    if (!g_codePage932)
        return;
    const bool kWide[] = {false, true};
    for (bool wide : kWide) {
        clear_lists();
        DialogRun run;
        ZeroMemory(&run, sizeof run);
        run.wide = wide;
        run.initialDir = kStart;
        run.drive = drive_ok;
        run.context = (void*)kFileW;
        run_dialog(&run);
        const char* kind = wide ? "UTF-16" : "8-bit";
        ok(run.result && same_text(run.file, kFile), "%s: the dialog ended with %d \"%s\"\n", kind, run.result, run.file);
        char values[10][MAX_PATH + 1];
        int count = read_list("Files", values, 10);
        ok(count == 1 && same_text(values[0], kFile), "%s: Files holds %d \"%s\"\n", kind, count, values[0]);
        // Cut at the last real backslash, not at the one inside U+30BD.
        count = read_list("Folders", values, 10);
        ok(count == 1 && same_text(values[0], kFolder), "%s: Folders holds %d \"%s\"\n", kind, count, values[0]);
    }

    // The entry comes back in the menu as it was recorded, and opens.
    DialogRun run;
    ZeroMemory(&run, sizeof run);
    run.initialDir = kStart;
    run.drive = drive_choose_first;
    run_dialog(&run);
    ok(run.result && same_text(run.file, kFile), "the dialog ended with %d \"%s\"\n", run.result, run.file);
}

// A path of 149 characters whose code-page form needs 279 bytes.
static void test_long_path_not_recorded(void)
{
    if (!g_codePage932)
        return;
    WCHAR path[200];
    char path8[400];
    lstrcpyW(path, L"C:\\lumora-dbcs\\");
    lstrcpyA(path8, "C:\\lumora-dbcs\\");
    for (int i = 0; i < 130; ++i) {
        lstrcatW(path, L"\u8868");
        lstrcatA(path8, "\x95\x5c");
    }
    lstrcatW(path, L".txt");
    lstrcatA(path8, ".txt");

    clear_lists();
    DialogRun run;
    ZeroMemory(&run, sizeof run);
    run.wide = true;
    run.initialDir = kStart;
    run.drive = drive_ok;
    run.context = path;
    run_dialog(&run);
    ok(run.result && same_text(run.file, path8), "the dialog ended with %d, %d bytes\n", run.result, lstrlenA(run.file));
    char values[10][MAX_PATH + 1];
    ok(read_list("Files", values, 10) <= 0, "the path was recorded as \"%s\"\n", values[0]);
    ok(read_list("Folders", values, 10) <= 0, "its folder was recorded as \"%s\"\n", values[0]);
}

// The same on the fixture, without Wine's joining of folder and name: the
// limit is the code-page form's 260 bytes, whatever the number of characters.
static void test_path_answers(void)
{
    if (!g_codePage932)
        return;
    register_fixture_class();
    WCHAR fits[200], tooLong[200], farTooLong[200];
    char fits8[300];
    lstrcpyW(fits, L"C:\\fixture\\");
    lstrcpyA(fits8, "C:\\fixture\\");
    for (int i = 0; i < 124; ++i) {   // 11 + 248 + 1 = 260 bytes, 136 characters
        lstrcatW(fits, L"\u8868");
        lstrcatA(fits8, "\x95\x5c");
    }
    lstrcatW(fits, L"a");
    lstrcatA(fits8, "a");
    lstrcpyW(tooLong, fits);
    lstrcatW(tooLong, L"b");   // 261 bytes
    lstrcpyW(farTooLong, fits);
    for (int i = 0; i < 10; ++i)
        lstrcatW(farTooLong, L"\u8868");   // 281 bytes, 146 characters

    const struct {
        const char* name;
        const WCHAR* text;
        const char* recorded;
    } kRows[] = {
        {"260 bytes", fits, fits8},
        {"261 bytes", tooLong, NULL},
        {"281 bytes", farTooLong, NULL},
    };
    for (const auto& row : kRows) {
        clear_lists();
        PathAnswer answer = {true, NULL, row.text, lstrlenW(row.text) + 1};
        ok(close_fixture(&answer, 0), "%s: the fixture was not attached\n", row.name);
        char values[10][MAX_PATH + 1];
        int count = read_list("Files", values, 10);
        if (!row.recorded) {
            ok(count <= 0, "%s: recorded %d bytes\n", row.name, lstrlenA(values[0]));
            continue;
        }
        ok(count == 1 && same_text(values[0], row.recorded), "%s: Files holds %d, %d bytes\n", row.name, count,
           lstrlenA(values[0]));
        count = read_list("Folders", values, 10);
        ok(count == 1 && same_text(values[0], "C:\\fixture\\"), "%s: Folders holds %d \"%s\"\n", row.name, count,
           values[0]);
    }
}

WTEST_MAIN(test_setup, test_record_dbcs_path, test_long_path_not_recorded, test_path_answers)
