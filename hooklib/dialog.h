// Explorer-style Open and Save As dialogs: recognising and attaching them,
// laying out their toolbar, and the replacement window procedure that answers
// the recent buttons, their menus and commands, and records the chosen path.
#pragma once

#include "win32.h"

// Controls of the common file dialog, by the platform's dlgs.h names:
// lst2 the file view (SHELLDLL_DefView), cmb2 the folder combo box left of
// the toolbar, cmb13 the file-name box, edt1 the file-name edit of dialogs
// without cmb13; IDOK and IDCANCEL.
#include <dlgs.h>

// The attached dialog state: one attached dialog per process at a time.
extern HWND g_toolbarWindow;
extern int g_toolbarId;
extern int g_fileNameId;
extern int g_cancelled;

// From the hook procedure, after a window procedure processed WM_INITDIALOG.
void RecogniseDialog(LPARAM initParam, HWND window);

// Subclasses a recognised dialog, extends its toolbar and loads the lists.
void AttachDialog(HWND dialog);

// Gives the toolbar the class's width, moving it left when it would reach
// past the file view.
void LayoutToolbar(HWND dialog);

LRESULT CALLBACK DialogSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the documents (non-zero) or folders menu under its button.
void ShowRecentMenu(HWND dialog, HWND toolbar, BOOL documents);
