// demo_dialog.exe: a small application for trying the system out. It shows
// the platform's Open dialog again and again until the dialog is cancelled,
// starting in a folder of sample documents that it makes in the temporary
// folder. With the host running, every dialog carries the Recent Documents
// and Recent Folders buttons, and each file opened shows up in their menus
// the next time. tools/demo.sh (and run.sh) start the host and then this.

#include <windows.h>
#include <commdlg.h>

static const char* const kSampleFolders[] = {"Photos", "Recipes"};
static const char* const kSampleFiles[] = {
    "Letter to Anna.txt",
    "Shopping list.txt",
    "Trip plan.txt",
    "Photos\\Beach.txt",
    "Recipes\\Pancakes.txt",
};

// Program state: the dialog's title, and for Wine the path the dialog
// accepted (see DialogStandInProc).
static char g_title[MAX_PATH + 100] = "Pathwick demo - open a file (Cancel ends the demo)";
static WNDPROC g_dialogProc;
static BOOL g_accepted;
static char g_acceptedPath[MAX_PATH * 2];
static LRESULT g_acceptedLength;

static BOOL RunningOnWine(void)
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != NULL;
}

// %TEMP%\Pathwick demo with a few small documents in it and in two folders.
static void MakeSamples(char* folder)
{
    char path[MAX_PATH * 2];
    DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH - 20)
        lstrcpyA(folder, "C:\\");
    lstrcatA(folder, "Pathwick demo");
    CreateDirectoryA(folder, NULL);
    for (int i = 0; i < (int)(sizeof kSampleFolders / sizeof kSampleFolders[0]); ++i) {
        wsprintfA(path, "%s\\%s", folder, kSampleFolders[i]);
        CreateDirectoryA(path, NULL);
    }
    for (int i = 0; i < (int)(sizeof kSampleFiles / sizeof kSampleFiles[0]); ++i) {
        wsprintfA(path, "%s\\%s", folder, kSampleFiles[i]);
        HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written;
            WriteFile(file, "A sample document.\r\n", 20, &written, NULL);
            CloseHandle(file);
        }
    }
}

// The Open dialog's window procedure under Wine, behind the library's. Wine's
// dialog forgets its folder as it accepts a file (it frees it before the
// dialog ends) and then answers the chosen path from freed memory, which is
// when the library asks for it to record it. From CDN_FILEOK on, this
// answers with what the dialog said then, as Windows would.
static LRESULT CALLBACK DialogStandInProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == CDM_GETFILEPATH && g_accepted) {
        if ((WPARAM)g_acceptedLength <= wParam)
            lstrcpyA((char*)lParam, g_acceptedPath);
        return g_acceptedLength;
    }
    return CallWindowProcA(g_dialogProc, dialog, message, wParam, lParam);
}

// The dialog's hook procedure: CDN_INITDONE and CDN_FILEOK. The dialog is
// the hook window's parent.
static UINT_PTR CALLBACK OpenHookProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    if (message != WM_NOTIFY)
        return 0;
    HWND dialog = GetParent(child);
    switch (((NMHDR*)lParam)->code) {
    case CDN_INITDONE:
        // Still inside the dialog's WM_INITDIALOG, before the library takes
        // the dialog over: the library keeps this procedure as the dialog's.
        g_accepted = FALSE;
        g_dialogProc = NULL;
        if (RunningOnWine())
            g_dialogProc = (WNDPROC)SetWindowLongPtrA(dialog, GWLP_WNDPROC, (LONG_PTR)DialogStandInProc);
        break;
    case CDN_FILEOK:
        if (g_dialogProc != NULL) {
            g_acceptedLength = SendMessageA(dialog, CDM_GETFILEPATH, sizeof g_acceptedPath, (LPARAM)g_acceptedPath);
            g_accepted = TRUE;
        }
        break;
    }
    return 0;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;
    char samples[MAX_PATH];
    MakeSamples(samples);
    for (;;) {
        char file[MAX_PATH] = "";
        OPENFILENAMEA ofn;
        ZeroMemory(&ofn, sizeof ofn);
        ofn.lStructSize = sizeof ofn;
        ofn.lpstrFilter = "Text documents\0*.txt\0All files\0*.*\0";
        ofn.lpstrFile = file;
        ofn.nMaxFile = MAX_PATH;
        ofn.lpstrInitialDir = samples;
        ofn.lpstrTitle = g_title;
        ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
        ofn.lpfnHook = OpenHookProc;
        if (!GetOpenFileNameA(&ofn))
            break;
        wsprintfA(g_title, "Pathwick demo - opened %s - open another (Cancel ends the demo)", file + ofn.nFileOffset);
    }
    return 0;
}
