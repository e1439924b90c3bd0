// The dialog side of the library. RecogniseDialog attaches every Explorer-style
// file dialog (a direct SHELLDLL_DefView child after WM_INITDIALOG): its window
// procedure slot gets DialogSubclassProc, its toolbar a separator and the two
// recent drop-down buttons, and the application's recent lists are loaded.
// DialogSubclassProc then lays the toolbar out, answers the buttons' tooltips
// and drop-downs, carries out the menu commands and, when the dialog is
// destroyed other than by Cancel, records the chosen path.

#include "dialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include "commands.h"
#include "hook.h"
#include "lists.h"
#include "platform.h"
#include "store.h"
#include "text.h"

constexpr int kMaxAttachedWindows = 8;
constexpr DWORD kPathRequestBytes = 524;   // 261 UTF-16 units and 2 bytes

// One row per recent button: id, menu template, clear item, list base, tooltip.
struct RecentButton {
    unsigned id;
    int menuTemplate;
    unsigned clearId;
    unsigned baseId;
    char** list;
    const char* tip;
    const wchar_t* wideTip;
};

static const RecentButton kRecentButtons[2] = {
    {kDocumentsButton, IDM_RECENT_FILES, kClearDocuments, kDocumentsBase, &g_recentDocuments,
     "Recent Documents", L"Recent Documents"},
    {kFoldersButton, IDM_RECENT_FOLDERS, kClearFolders, kFoldersBase, &g_recentFolders,
     "Recent Folders", L"Recent Folders"},
};

// A window whose slot holds DialogSubclassProc, with the procedure it had.
struct AttachedWindow {
    HWND window;
    WNDPROC savedProc;
};

// Attached dialog state. The toolbar, the ids and the flag describe the dialog
// attached last; every subclassed window keeps its own saved procedure, so
// that two open dialogs never pass their messages to each other's procedure.
// Only one thread at a time may own attached dialogs (g_attachedThread): the
// state has no locks, and a dialog on another thread is left alone.
// Wine's file dialog releases its current folder while it processes the OK
// that ends it, and answers the path request at WM_DESTROY from the freed
// record: another folder, garbage, or a long wait. There the path is taken
// while OK is processed and kept for WM_DESTROY (g_endedPath), but only when
// that OK ended the dialog; g_releasesEarly is 0 until known, 1 for such a
// platform, 2 otherwise.
HWND g_toolbarWindow = nullptr;
int g_toolbarId = 1;
int g_fileNameId = cmb13;
int g_cancelled = 0;
static AttachedWindow g_attached[kMaxAttachedWindows];
static int g_attachedCount = 0;
static volatile LONG g_attachedThread = 0;
static bool g_pinned = false;
static int g_releasesEarly = 0;
static char g_endedPath[kPathChars];
static bool g_haveEndedPath = false;

static WNDPROC SavedProcOf(HWND window)
{
    for (const AttachedWindow& attached : g_attached) {
        if (attached.window == window)
            return attached.savedProc;
    }
    return nullptr;
}

// The hook can be removed and the library released while a dialog still runs
// DialogSubclassProc; one extra reference keeps the code in the process for
// as long as the process lives.
static void PinLibrary()
{
    if (g_pinned)
        return;
    char path[kPathChars];
    DWORD length = GetModuleFileNameA(g_instance, path, kPathChars);
    if (length == 0 || length >= kPathChars)
        return;
    g_pinned = LoadLibraryA(path) != nullptr;
}

void RecogniseDialog(LPARAM initParam, HWND window)
{
    if (initParam == 0 || window == nullptr)
        return;
    if (FindWindowExA(window, nullptr, "SHELLDLL_DefView", nullptr) == nullptr)
        return;
    LONG thread = (LONG)GetCurrentThreadId();
    LONG owner = InterlockedCompareExchange(&g_attachedThread, thread, 0);
    if (owner != 0 && owner != thread)
        return;
    AttachDialog(window);
    if (SavedProcOf(window) == nullptr) {
        if (g_attachedCount == 0)
            InterlockedExchange(&g_attachedThread, 0);
        return;
    }
    // Topmost and back brings the dialog to the front and makes it send
    // WM_WINDOWPOSCHANGED through DialogSubclassProc: the first layout.
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
}

// Takes over dialog's window procedure once; false when it cannot be taken.
static bool Subclass(HWND dialog)
{
    if (SavedProcOf(dialog) != nullptr)
        return true;   // WM_INITDIALOG again: already ours
    WNDPROC current = (WNDPROC)GetWindowLongPtrA(dialog, GWLP_WNDPROC);
    if (current == nullptr || current == DialogSubclassProc)
        return false;
    for (AttachedWindow& attached : g_attached) {
        if (attached.window == nullptr) {
            attached.savedProc = current;
            attached.window = dialog;
            ++g_attachedCount;
            SetWindowLongPtrA(dialog, GWLP_WNDPROC, (LONG_PTR)DialogSubclassProc);
            return true;
        }
    }
    return false;
}

static HWND FindToolbar(HWND dialog, int toolbarId)
{
    HWND candidate = FindWindowExA(dialog, nullptr, TOOLBARCLASSNAMEA, nullptr);
    while (candidate != nullptr && GetWindowLongPtrA(candidate, GWLP_ID) != toolbarId)
        candidate = FindWindowExA(dialog, candidate, TOOLBARCLASSNAMEA, nullptr);
    return candidate;
}

static void AddRecentButtons(HWND toolbar)
{
    // A dialog that runs WM_INITDIALOG twice keeps one pair of buttons.
    if (SendMessageA(toolbar, TB_COMMANDTOINDEX, kDocumentsButton, 0) >= 0)
        return;
    const PlatformConstants& platform = CurrentPlatform();
    TBBUTTON buttons[3];
    ZeroMemory(buttons, sizeof buttons);
    buttons[0].fsState = TBSTATE_ENABLED;
    buttons[0].fsStyle = BTNS_SEP;
    buttons[1].iBitmap = platform.documentsImage;
    buttons[1].idCommand = kDocumentsButton;
    buttons[1].fsState = TBSTATE_ENABLED;
    buttons[1].fsStyle = BTNS_DROPDOWN | BTNS_WHOLEDROPDOWN;
    buttons[2].iBitmap = platform.foldersImage;
    buttons[2].idCommand = kFoldersButton;
    buttons[2].fsState = TBSTATE_ENABLED;
    buttons[2].fsStyle = BTNS_DROPDOWN | BTNS_WHOLEDROPDOWN;

    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    SendMessageA(toolbar, TB_ADDBUTTONSA, 3, (LPARAM)buttons);
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
}

void AttachDialog(HWND dialog)
{
    if (!Subclass(dialog))
        return;
    PinLibrary();
    const PlatformConstants& platform = CurrentPlatform();
    g_toolbarId = platform.toolbarId;
    g_toolbarWindow = FindToolbar(dialog, g_toolbarId);
    if (g_toolbarWindow != nullptr)
        AddRecentButtons(g_toolbarWindow);
    // Once a dialog lacks the file-name box, every later one of the process
    // uses the edit control.
    if (GetDlgItem(dialog, cmb13) == nullptr)
        g_fileNameId = edt1;
    LoadRecentLists();
}

static bool ToClient(HWND dialog, RECT* rect)
{
    return ScreenToClient(dialog, (POINT*)&rect->left) && ScreenToClient(dialog, (POINT*)&rect->right);
}

void LayoutToolbar(HWND dialog)
{
    // The toolbar of a dialog attached later is not this dialog's to move.
    if (dialog == nullptr || g_toolbarWindow == nullptr || GetParent(g_toolbarWindow) != dialog)
        return;
    int width = CurrentPlatform().toolbarWidth;
    RECT toolbar;
    if (!GetWindowRect(g_toolbarWindow, &toolbar) || !ToClient(dialog, &toolbar))
        return;
    int height = toolbar.bottom - toolbar.top;
    HWND combo = GetDlgItem(dialog, cmb2);
    RECT comboRect;
    if (combo == nullptr || !GetWindowRect(combo, &comboRect))
        return;
    RECT view;
    HWND fileView = GetDlgItem(dialog, lst2);
    if (fileView == nullptr || !GetWindowRect(fileView, &view) || !ScreenToClient(dialog, (POINT*)&view.right))
        return;
    int overflow = (toolbar.left + width) - view.right;
    if (overflow <= 0) {
        SetWindowPos(g_toolbarWindow, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW);
        return;
    }
    SetWindowPos(g_toolbarWindow, nullptr, toolbar.left - overflow, toolbar.top, width, height,
                 SWP_NOZORDER | SWP_SHOWWINDOW);
    if (!ToClient(dialog, &comboRect))
        return;
    SetWindowPos(combo, nullptr, comboRect.left, comboRect.top, (comboRect.right - overflow) - comboRect.left,
                 comboRect.bottom - comboRect.top, SWP_NOZORDER | SWP_SHOWWINDOW);
}

void ShowRecentMenu(HWND dialog, HWND toolbar, BOOL documents)
{
    if (dialog == nullptr || toolbar == nullptr)
        return;
    const RecentButton& button = kRecentButtons[documents ? 0 : 1];
    HMENU menu = LoadMenuA(g_instance, MAKEINTRESOURCEA(button.menuTemplate));
    if (menu == nullptr)
        return;
    HMENU popup = GetSubMenu(menu, 0);
    if (popup == nullptr) {
        DestroyMenu(menu);
        return;
    }
    RECT rect = {0, 0, 0, 0};
    SendMessageA(toolbar, TB_GETRECT, button.id, (LPARAM)&rect);
    ClientToScreen(toolbar, (POINT*)&rect.right);
    ClientToScreen(toolbar, (POINT*)&rect.left);

    const char* list = *button.list;
    char* copy = nullptr;
    if (list == nullptr) {
        ModifyMenuA(popup, button.clearId, MF_BYCOMMAND | MF_STRING | MF_GRAYED | MF_DISABLED, button.clearId, "Empty");
    } else {
        int length = lstrlenA(list);
        copy = (char*)HeapAlloc(GetProcessHeap(), 0, length + 1);
        if (copy == nullptr) {
            DestroyMenu(menu);
            return;
        }
        lstrcpyA(copy, list);
        // Entries past the fiftieth have no id of their own list: left out.
        unsigned id = button.baseId;
        char* entry = copy;
        for (char* lineFeed = (char*)FindLineFeed(entry); lineFeed != nullptr && id < button.baseId + kEntriesPerList;
             lineFeed = (char*)FindLineFeed(entry)) {
            *lineFeed = '\0';
            InsertMenuA(popup, kSeparatorId, MF_BYCOMMAND | MF_STRING, id, entry);
            ++id;
            entry = lineFeed + 1;
        }
    }
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, rect.left, rect.bottom, 0, dialog, nullptr);
    if (copy != nullptr)
        HeapFree(GetProcessHeap(), 0, copy);
    DestroyMenu(menu);
}

// WM_NOTIFY: true when the notification is one of the recent buttons' and has
// been answered here.
static bool AnswerNotification(HWND dialog, const NMHDR* header)
{
    if (header == nullptr)
        return false;
    if (header->hwndFrom == g_toolbarWindow && g_toolbarWindow != nullptr) {
        if (header->code != (UINT)TBN_DROPDOWN)
            return false;
        int item = ((const NMTOOLBARA*)header)->iItem;
        if (item != (int)kDocumentsButton && item != (int)kFoldersButton)
            return false;
        ShowRecentMenu(dialog, g_toolbarWindow, item == (int)kDocumentsButton);
        return true;
    }
    if (header->idFrom != kDocumentsButton && header->idFrom != kFoldersButton)
        return false;
    const RecentButton& button = kRecentButtons[header->idFrom == kDocumentsButton ? 0 : 1];
    if (header->code == (UINT)TTN_NEEDTEXTA) {
        lstrcpynA(((NMTTDISPINFOA*)header)->szText, button.tip, 80);
        return true;
    }
    if (header->code == (UINT)TTN_NEEDTEXTW) {
        WCHAR* text = ((NMTTDISPINFOW*)header)->szText;
        int i = 0;
        do {
            text[i] = button.wideTip[i];
        } while (button.wideTip[i++] != L'\0');
        return true;
    }
    return false;
}

// A chosen menu entry: type it into the file-name box and press OK. For a
// folder the dialog then shows that folder, and the box gets back its text.
static void ChooseEntry(HWND dialog, unsigned commandId, const RecentButton& button)
{
    char entry[kPathChars];
    if (!FindListEntry(*button.list, button.baseId, commandId, entry))
        return;
    // Once switched to the edit control, the process keeps it; a later dialog
    // that lacks it gets the entry in its file-name box rather than an OK on
    // whatever that box held.
    int fileNameId = g_fileNameId;
    if (GetDlgItem(dialog, fileNameId) == nullptr)
        fileNameId = fileNameId == edt1 ? cmb13 : edt1;
    if (GetDlgItem(dialog, fileNameId) == nullptr)
        return;
    HWND listView = GetWindow(GetDlgItem(dialog, lst2), GW_CHILD);
    if (listView != nullptr) {
        LVITEMA item;
        ZeroMemory(&item, sizeof item);
        item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
        SendMessageA(listView, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&item);
    }
    char saved[kPathChars];
    ZeroMemory(saved, sizeof saved);
    GetDlgItemTextA(dialog, fileNameId, saved, kPathChars);
    SetDlgItemTextA(dialog, fileNameId, "");
    SetDlgItemTextA(dialog, fileNameId, entry);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDOK));
    if (button.id == kFoldersButton) {
        SetDlgItemTextA(dialog, fileNameId, saved);
        SetFocus(GetDlgItem(dialog, lst2));
    }
}

static void HandleCommand(HWND dialog, WPARAM wParam)
{
    unsigned id = LOWORD(wParam);
    if (id == IDCANCEL) {
        if (HIWORD(wParam) == BN_CLICKED)
            g_cancelled = 1;
    } else if (id == kClearDocuments || id == kClearFolders) {
        ClearRecentList(id);
    } else if (id >= kDocumentsBase && id < kDocumentsBase + kEntriesPerList) {
        ChooseEntry(dialog, id, kRecentButtons[0]);
    } else if (id >= kFoldersBase && id < kFoldersBase + kEntriesPerList) {
        ChooseEntry(dialog, id, kRecentButtons[1]);
    }
}

// The chosen path, as 8-bit text of at most 260 bytes, or false. The dialog
// answers in its own character set: 8-bit when lstrlenA matches its count.
// A path whose 8-bit form does not fit the store's buffers is not recorded:
// cut, it would name another file.
static bool GetChosenPath(HWND dialog, char* path)
{
    BYTE request[kPathRequestBytes];
    ZeroMemory(request, sizeof request);
    LRESULT answer = SendMessageA(dialog, CDM_GETFILEPATH, kPathChars, (LPARAM)request);
    int units = (int)answer;
    if (units <= 0 || units > (int)kPathChars)
        return false;
    if (lstrlenA((const char*)request) + 1 == units) {
        lstrcpynA(path, (const char*)request, kPathChars);
    } else {
        // Terminate within the units the dialog reported.
        ((WCHAR*)request)[units - 1] = L'\0';
        if (WideCharToMultiByte(CP_ACP, 0, (const WCHAR*)request, -1, path, kPathChars, nullptr, nullptr) == 0)
            return false;
    }
    RecoverAbsolutePath(path);
    return path[0] != '\0';
}

static bool DialogReleasesPathEarly()
{
    if (g_releasesEarly == 0) {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        g_releasesEarly = ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr ? 1 : 2;
    }
    return g_releasesEarly == 1;
}

// WM_COMMAND IDOK on a dialog that releases its folder early: the path as
// the dialog sees it before OK, kept when the OK ends the dialog (an ended
// dialog is hidden at once).
static LRESULT PassOkOn(WNDPROC saved, HWND dialog, WPARAM wParam, LPARAM lParam)
{
    char path[kPathChars];
    bool havePath = GetChosenPath(dialog, path);
    LRESULT result = CallWindowProcA(saved, dialog, WM_COMMAND, wParam, lParam);
    if (havePath && !IsWindowVisible(dialog)) {
        lstrcpynA(g_endedPath, path, kPathChars);
        g_haveEndedPath = true;
    }
    return result;
}

static void RecordAndRelease(HWND dialog)
{
    if (g_cancelled == 0) {
        char path[kPathChars];
        if (g_haveEndedPath)
            RecordRecentPath(g_endedPath);
        else if (GetChosenPath(dialog, path))
            RecordRecentPath(path);
    }
    g_haveEndedPath = false;
    g_cancelled = 0;
    ReleaseList(&g_recentDocuments);
    ReleaseList(&g_recentFolders);
}

static void ForgetWindow(HWND window)
{
    for (AttachedWindow& attached : g_attached) {
        if (attached.window == window) {
            attached.window = nullptr;
            attached.savedProc = nullptr;
            if (--g_attachedCount == 0)
                InterlockedExchange(&g_attachedThread, 0);
        }
    }
}

// Every message of an attached dialog: the recent buttons' notifications are
// answered here; everything else goes on to the dialog's own procedure.
LRESULT CALLBACK DialogSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC saved = SavedProcOf(window);
    if (saved == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_WINDOWPOSCHANGED:
    case WM_INITDIALOG:
        LayoutToolbar(window);
        break;
    case WM_NOTIFY:
        if (AnswerNotification(window, (const NMHDR*)lParam))
            return 0;
        break;
    case WM_COMMAND:
        HandleCommand(window, wParam);
        if (LOWORD(wParam) == IDOK && DialogReleasesPathEarly())
            return PassOkOn(saved, window, wParam, lParam);
        break;
    case WM_DESTROY:
        RecordAndRelease(window);
        break;
    case WM_NCDESTROY: {
        LRESULT result = CallWindowProcA(saved, window, message, wParam, lParam);
        ForgetWindow(window);
        return result;
    }
    }
    return CallWindowProcA(saved, window, message, wParam, lParam);
}
