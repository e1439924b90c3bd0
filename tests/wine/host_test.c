// The host program, Lumora.exe, started as a user starts it and driven from
// outside as a user would: its one hidden proxy window, the mutex, the
// product key, the desktop-wide hook, and a second start whose question is
// answered No or Yes by pressing the message box's buttons.
//
// Observations from outside the host:
//   hook      the library's shared handle, read through this process's own
//             copy of the library (loaded with LoadLibraryA, not imported,
//             so that the probe below starts without it)
//   probe     this program started again in the "probe" role: it sends one
//             message to a window of its own and reports whether the
//             platform has brought LumoraHook.dll into it, which it does
//             only while a desktop-wide hook of the library is installed
//   loop      a message sent to the proxy window is answered only once the
//             host has reached its message loop, so after the product key
//   broadcast the unload message the host posts at its end reaches a
//             top-level window of this process
//
// The tests share one host instance in order: first start, No, Yes; the
// other starts are each ended within their test. Every wait has a deadline,
// and leftovers are ended by force at the end.
#include "wtest.h"
#include "processes.h"

#define HOST "Lumora.exe"
#define MUTEX_NAME "LumoraProxyWnd"
#define PROXY_CLASS "LumoraProxyWndClassEx"
#define PROXY_TITLE "LumoraProxyWnd"
#define QUESTION "\tPathwick is already running.\t\t\n\n\t\tTerminate?"
#define CAPTION "Pathwick v1.01 beta 1"
#define PRODUCT_KEY "software\\Corvane Software\\Lumora"
#define COMPANY_KEY "software\\Corvane Software"
// The message box's text is a static control with the id -1 (0xFFFF) on
// Windows, and so it is under Wine.
#define MSGBOX_TEXT_ID 0xffff
#define PROBE_LOADED 1
#define PROBE_NOT_LOADED 0

typedef int(__cdecl* InstallHookFunction)(int install, DWORD threadId);

static HMODULE g_library;
static InstallHookFunction g_installHook;
static HHOOK volatile* g_slot;
static UINT g_unload;
static HWND g_listener;
static int g_unloadPosted, g_unloadSent;

// The instance that the first-start, No and Yes tests share.
static HANDLE g_host;
static DWORD g_hostPid;

static LRESULT CALLBACK ListenerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == g_unload && message != 0) {
        if (InSendMessage())
            ++g_unloadSent;
        else
            ++g_unloadPosted;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static HANDLE start_host(DWORD* pid, WORD show)
{
    HANDLE process = start_process(HOST, "", pid, show);
    ok(process != NULL, "could not start %s: %lu\n", HOST, GetLastError());
    return process;
}

// The proxy window of a host that has reached its message loop, or NULL.
static HWND wait_for_running_host(DWORD pid)
{
    HWND proxy = wait_for_window(PROXY_CLASS, PROXY_TITLE, 15000);
    ok(proxy != NULL, "no proxy window appeared\n");
    if (!proxy)
        return NULL;
    DWORD owner = 0;
    GetWindowThreadProcessId(proxy, &owner);
    ok(owner == pid, "the proxy window belongs to process %#lx, not the host %#lx\n", owner, pid);
    DWORD_PTR result;
    ok(SendMessageTimeoutA(proxy, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) != 0,
       "the host does not answer messages\n");
    return proxy;
}

struct box_search {
    DWORD pid;
    HWND box;
};

static BOOL CALLBACK FindBox(HWND window, LPARAM parameter)
{
    struct box_search* search = (struct box_search*)parameter;
    char className[64] = "", caption[64] = "";
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, caption, sizeof caption);
    // Visible only once its initialisation has set the text and the buttons.
    if (owner == search->pid && IsWindowVisible(window) && strcmp(className, "#32770") == 0 &&
        strcmp(caption, CAPTION) == 0) {
        search->box = window;
        return FALSE;
    }
    return TRUE;
}

// The host's question, shown by process pid, within ms milliseconds.
static HWND find_question(DWORD pid, DWORD ms)
{
    struct box_search search = {pid, NULL};
    DWORD end = GetTickCount() + ms;
    for (;;) {
        EnumWindows(FindBox, (LPARAM)&search);
        if (search.box || (LONG)(GetTickCount() - end) >= 0)
            return search.box;
        pump_messages(20);
    }
}

struct visible_search {
    DWORD pid;
    int count;
};

static BOOL CALLBACK CountVisible(HWND window, LPARAM parameter)
{
    struct visible_search* search = (struct visible_search*)parameter;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->pid && IsWindowVisible(window))
        ++search->count;
    return TRUE;
}

static int visible_windows_of(DWORD pid)
{
    struct visible_search search = {pid, 0};
    EnumWindows(CountVisible, (LPARAM)&search);
    return search.count;
}

static BOOL product_key_exists(void)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, PRODUCT_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return FALSE;
    RegCloseKey(key);
    return TRUE;
}

static BOOL mutex_exists(void)
{
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, MUTEX_NAME);
    if (!mutex)
        return FALSE;
    CloseHandle(mutex);
    return TRUE;
}

// Whether a new process gets the library brought in by the hook.
static DWORD probe_hook(void)
{
    HANDLE probe = start_process(NULL, "probe", NULL, (WORD)-1);
    if (!probe)
        return ~0u;
    DWORD code = wait_for_exit(probe, 20000);
    CloseHandle(probe);
    return code;
}

// Presses a button of the question the way a click does.
static void press_button(HWND box, int id)
{
    HWND button = GetDlgItem(box, id);
    ok(button != NULL, "the question has no button %d\n", id);
    DWORD_PTR result;
    if (button)
        SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &result);
}

// Ends a host the test started, as any sender of WM_CLOSE may; its exit code.
static DWORD close_host(HANDLE host)
{
    HWND proxy = FindWindowA(PROXY_CLASS, PROXY_TITLE);
    DWORD_PTR result;
    if (proxy)
        SendMessageTimeoutA(proxy, WM_CLOSE, 0, 0, SMTO_NORMAL, 10000, &result);
    return wait_for_exit(host, 10000);
}

static void delete_company_key(void)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, COMPANY_KEY);
}

// The mutex is there but no proxy window (a first instance still starting or
// already ending): the start ends at once, without a question.
static void test_mutex_without_window(void)
{
    HANDLE mutex = CreateMutexA(NULL, FALSE, MUTEX_NAME);
    ok(mutex != NULL && GetLastError() != ERROR_ALREADY_EXISTS, "could not create the mutex first\n");
    DWORD pid = 0;
    HANDLE host = start_host(&pid, (WORD)-1);
    if (host) {
        BOOL asked = FALSE;
        for (DWORD start = GetTickCount(); process_running(host) && GetTickCount() - start < 10000;) {
            HWND box = find_question(pid, 50);
            if (box) {
                asked = TRUE;
                press_button(box, IDNO);
            }
        }
        ok(!asked, "a start without a proxy window to close asked the question\n");
        ok(wait_for_exit(host, 5000) == 0, "exit code is not 0\n");
        CloseHandle(host);
    }
    ok(!product_key_exists(), "a start that found the mutex created the product key\n");
    CloseHandle(mutex);
}

// Started with a show command that asks for a window, the host still shows
// none, and it holds the mutex, the proxy window, the product key and the hook.
static void test_first_start(void)
{
    ok(!product_key_exists(), "the product key exists before the first start\n");
    g_host = start_host(&g_hostPid, SW_SHOWMAXIMIZED);
    if (!g_host)
        return;
    HWND proxy = wait_for_running_host(g_hostPid);
    if (!proxy)
        return;
    pump_messages(300);
    ok(!IsWindowVisible(proxy), "the proxy window is visible\n");
    ok(visible_windows_of(g_hostPid) == 0, "the host shows %d windows\n", visible_windows_of(g_hostPid));
    ok(GetWindowLongA(proxy, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, "the proxy window is no tool window\n");
    ok(mutex_exists(), "the mutex " MUTEX_NAME " cannot be opened\n");

    HKEY key;
    ok(RegOpenKeyExA(HKEY_CURRENT_USER, PRODUCT_KEY, 0, KEY_READ, &key) == ERROR_SUCCESS,
       "the product key was not created\n");
    DWORD subkeys = 99, values = 99;
    if (RegQueryInfoKeyA(key, NULL, NULL, NULL, &subkeys, NULL, NULL, &values, NULL, NULL, NULL, NULL) ==
        ERROR_SUCCESS)
        ok(subkeys == 0 && values == 0, "the new product key holds %lu keys and %lu values\n", subkeys, values);
    RegCloseKey(key);

    HHOOK held = g_slot ? *g_slot : NULL;
    ok(held != NULL, "no hook handle in the shared section\n");
    ok(g_installHook && g_installHook(1, 0) == 1, "install here with the host's hook held should return 1\n");
    ok(g_slot && *g_slot == held, "the host's hook handle changed to %p\n", g_slot ? *g_slot : NULL);
    ok(probe_hook() == PROBE_LOADED, "the hook does not bring the library into a new process\n");
}

static void check_question(HWND box)
{
    char text[128] = "";
    GetDlgItemTextA(box, MSGBOX_TEXT_ID, text, sizeof text);
    ok(strcmp(text, QUESTION) == 0, "question text \"%s\"\n", text);
    ok(GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO) && !GetDlgItem(box, IDCANCEL),
       "the question's buttons are not Yes and No\n");
    // Yes is the default button. Wine's message box leaves DM_GETDEFID at
    // IDOK of its template, so the button's own style is what shows it.
    HWND yes = GetDlgItem(box, IDYES), no = GetDlgItem(box, IDNO);
    ok(yes && (GetWindowLongA(yes, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON, "Yes is not the default button\n");
    ok(no && (GetWindowLongA(no, GWL_STYLE) & BS_TYPEMASK) == BS_PUSHBUTTON, "No is the default button\n");
}

// Answered No, the second start ends and the first runs on unchanged.
static void test_second_start_answered_no(void)
{
    if (!process_running(g_host)) {
        skip("no first instance running\n");
        return;
    }
    HHOOK held = g_slot ? *g_slot : NULL;
    DWORD pid = 0;
    HANDLE second = start_host(&pid, (WORD)-1);
    if (!second)
        return;
    HWND box = find_question(pid, 15000);
    ok(box != NULL, "the second start asked no question\n");
    if (box) {
        check_question(box);
        press_button(box, IDNO);
    }
    ok(wait_for_exit(second, 10000) == 0, "the second start did not end with 0\n");
    CloseHandle(second);

    pump_messages(300);
    ok(process_running(g_host), "the first instance ended\n");
    ok(FindWindowA(PROXY_CLASS, PROXY_TITLE) != NULL, "the proxy window is gone\n");
    ok(mutex_exists(), "the mutex is gone\n");
    ok(g_slot && *g_slot == held && held != NULL, "the hook handle changed from %p to %p\n", held,
       g_slot ? *g_slot : NULL);
    ok(g_unloadPosted + g_unloadSent == 0, "the unload message arrived\n");
}

// Answered Yes, the second start closes the first and both end with 0; the
// unload message is posted to the other applications and the hook is gone.
static void test_second_start_answered_yes(void)
{
    if (!process_running(g_host)) {
        skip("no first instance running\n");
        return;
    }
    g_unloadPosted = g_unloadSent = 0;
    DWORD pid = 0;
    HANDLE second = start_host(&pid, (WORD)-1);
    if (!second)
        return;
    HWND box = find_question(pid, 15000);
    ok(box != NULL, "the second start asked no question\n");
    if (box) {
        check_question(box);
        press_button(box, IDYES);
    }
    ok(wait_for_exit(second, 15000) == 0, "the second start did not end with 0\n");
    CloseHandle(second);
    ok(wait_for_exit(g_host, 10000) == 0, "the first instance did not end with 0\n");
    CloseHandle(g_host);
    g_host = NULL;

    ok(FindWindowA(PROXY_CLASS, PROXY_TITLE) == NULL, "a proxy window is left\n");
    ok(!mutex_exists(), "the mutex is left\n");
    ok(g_slot && *g_slot == NULL, "hook handle %p left\n", g_slot ? *g_slot : NULL);
    ok(g_installHook && g_installHook(0, 0) == 0, "a hook is still held\n");
    ok(probe_hook() == PROBE_NOT_LOADED, "the hook still brings the library into a new process\n");
    for (DWORD start = GetTickCount(); g_unloadPosted == 0 && GetTickCount() - start < 3000;)
        pump_messages(50);
    ok(g_unloadPosted == 1 && g_unloadSent == 0, "unload message posted %d times, sent %d times\n", g_unloadPosted,
       g_unloadSent);
}

// An existing product key is opened and left as it was.
static void test_existing_product_key_unchanged(void)
{
    HKEY key, data;
    ok(RegCreateKeyExA(HKEY_CURRENT_USER, PRODUCT_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) ==
           ERROR_SUCCESS,
       "could not create the product key\n");
    RegSetValueExA(key, "Probe", 0, REG_SZ, (const BYTE*)"kept", 5);
    if (RegCreateKeyExA(key, "Data", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &data, NULL) == ERROR_SUCCESS)
        RegCloseKey(data);
    RegCloseKey(key);

    DWORD pid = 0;
    HANDLE host = start_host(&pid, (WORD)-1);
    if (!host)
        return;
    wait_for_running_host(pid);
    ok(RegOpenKeyExA(HKEY_CURRENT_USER, PRODUCT_KEY, 0, KEY_READ, &key) == ERROR_SUCCESS, "the product key is gone\n");
    char text[16] = "";
    DWORD size = sizeof text, subkeys = 99, values = 99;
    ok(RegQueryValueExA(key, "Probe", NULL, NULL, (BYTE*)text, &size) == ERROR_SUCCESS && strcmp(text, "kept") == 0,
       "the value put there beforehand is \"%s\"\n", text);
    RegQueryInfoKeyA(key, NULL, NULL, NULL, &subkeys, NULL, NULL, &values, NULL, NULL, NULL, NULL);
    ok(subkeys == 1 && values == 1, "the product key now holds %lu keys and %lu values\n", subkeys, values);
    RegCloseKey(key);
    ok(close_host(host) == 0, "the host did not end with 0 on WM_CLOSE\n");
    CloseHandle(host);
}

// The nearest to a refused hook that Wine lets a test arrange: the shared
// handle names a hook that no longer exists. The host installs nothing, runs
// on without a hook, and at its end the platform refuses the removal; the
// handle is cleared and the exit code is still 0.
static void test_host_without_working_hook(void)
{
    if (!g_installHook || !g_slot)
        return;
    ok(g_installHook(1, GetCurrentThreadId()) == 1, "install for this thread failed\n");
    HHOOK stale = *g_slot;
    ok(UnhookWindowsHookEx(stale), "could not remove the hook behind the library's back\n");

    DWORD pid = 0;
    HANDLE host = start_host(&pid, (WORD)-1);
    if (!host)
        return;
    HWND proxy = wait_for_running_host(pid);
    ok(proxy && process_running(host), "the host did not run on\n");
    ok(*g_slot == stale, "the host replaced the handle: %p, was %p\n", *g_slot, stale);
    ok(probe_hook() == PROBE_NOT_LOADED, "a hook is working although none was installed\n");
    ok(close_host(host) == 0, "exit code is not 0 after a refused removal\n");
    CloseHandle(host);
    ok(*g_slot == NULL, "handle %p left after the host's refused removal\n", *g_slot);
}

// HKEY_CURRENT_USER\software readable but not writable: the host creates no
// key and runs all the same.
static void test_software_key_not_writable(void)
{
    HKEY software;
    delete_company_key();
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "software", 0, READ_CONTROL | WRITE_DAC, &software) != ERROR_SUCCESS) {
        skip("cannot change the security of HKCU\\software\n");
        return;
    }
    // Keep the present security to put it back.
    DWORD size = 0;
    RegGetKeySecurity(software, DACL_SECURITY_INFORMATION, NULL, &size);
    PSECURITY_DESCRIPTOR saved = HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
    BOOL haveSaved = RegGetKeySecurity(software, DACL_SECURITY_INFORMATION, saved, &size) == ERROR_SUCCESS;

    BYTE sidBuffer[SECURITY_MAX_SID_SIZE], aclBuffer[256];
    DWORD sidSize = sizeof sidBuffer;
    SECURITY_DESCRIPTOR readOnly;
    CreateWellKnownSid(WinWorldSid, NULL, sidBuffer, &sidSize);
    InitializeAcl((PACL)aclBuffer, sizeof aclBuffer, ACL_REVISION);
    AddAccessAllowedAce((PACL)aclBuffer, ACL_REVISION, KEY_READ | READ_CONTROL | WRITE_DAC, sidBuffer);
    InitializeSecurityDescriptor(&readOnly, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&readOnly, TRUE, (PACL)aclBuffer, FALSE);
    LONG set = RegSetKeySecurity(software, DACL_SECURITY_INFORMATION, &readOnly);

    HKEY probe;
    if (set != ERROR_SUCCESS ||
        RegOpenKeyExA(HKEY_CURRENT_USER, "software", 0, KEY_READ | KEY_WRITE, &probe) == ERROR_SUCCESS) {
        if (set == ERROR_SUCCESS)
            RegCloseKey(probe);
        skip("the platform still opens HKCU\\software for writing (set %ld)\n", set);
    } else {
        DWORD pid = 0;
        HANDLE host = start_host(&pid, (WORD)-1);
        if (host) {
            HWND proxy = wait_for_running_host(pid);
            ok(proxy && process_running(host), "the host did not run on\n");
            ok(!product_key_exists(), "the product key was created\n");
            ok(g_slot && *g_slot != NULL, "no hook installed\n");
            ok(close_host(host) == 0, "exit code is not 0\n");
            CloseHandle(host);
        }
    }
    if (haveSaved)
        RegSetKeySecurity(software, DACL_SECURITY_INFORMATION, saved);
    HeapFree(GetProcessHeap(), 0, saved);
    RegCloseKey(software);
}

static int child_probe(void)
{
    HWND window = create_window("LumoraHostTestProbe", DefWindowProcA);
    if (!window)
        return 2;
    SendMessageA(window, WM_USER, 0, 0);
    return GetModuleHandleA("LumoraHook.dll") != NULL ? PROBE_LOADED : PROBE_NOT_LOADED;
}

int main(int argc, char** argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    if (argc > 1 && strcmp(argv[1], "probe") == 0)
        return child_probe();

    g_unload = RegisterWindowMessageA("WM_UNLOAD_ALL_LUMORA_DLLS");
    g_listener = create_window("LumoraHostTestListener", ListenerProc);
    g_library = LoadLibraryA("LumoraHook.dll");
    g_installHook = (InstallHookFunction)(void*)GetProcAddress(g_library, "Marquel_InstallHook");
    g_slot = shared_hook_slot(g_library);
    ok(g_listener && g_installHook && g_slot, "setup: window %p, export %p, shared section %p\n", g_listener,
       g_installHook, g_slot);

    wtest_function tests[] = {
        test_mutex_without_window,
        test_first_start,
        test_second_start_answered_no,
        test_second_start_answered_yes,
        test_existing_product_key_unchanged,
        test_host_without_working_hook,
        test_software_key_not_writable,
    };
    int result = wtest_run(__FILE__, tests, (int)(sizeof tests / sizeof tests[0]));
    if (process_running(g_host))
        TerminateProcess(g_host, 255);
    return result;
}
