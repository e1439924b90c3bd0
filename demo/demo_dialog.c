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

// The dialog's title: the file opened last.
static char g_title[MAX_PATH + 100] = "Pathwick demo - open a file (Cancel ends the demo)";

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

// The dialog's hook procedure. It does nothing, but a hook keeps the
// Explorer-style dialog (with its SHELLDLL_DefView and toolbar) that the
// buttons are added to, where later systems would show their newer dialog.
static UINT_PTR CALLBACK OpenHookProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)child;
    (void)message;
    (void)wParam;
    (void)lParam;
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
