// Command ids of the recent buttons, the menu entries and the clear items, and
// the menu templates they belong to. They arrive as the low word of WM_COMMAND
// and as button ids in toolbar and tooltip notifications.
#pragma once

constexpr unsigned kDocumentsButton = 33000;     // Recent Documents, menu 200
constexpr unsigned kFoldersButton = 33001;       // Recent Folders, menu 201
constexpr unsigned kDocumentsBase = 33101;       // entries 33101..33150
constexpr unsigned kFoldersBase = 33151;         // entries 33151..33200
constexpr unsigned kEntriesPerList = 50;
constexpr unsigned kClearDocuments = 33201;      // "< &Clear list >" of menu 200
constexpr unsigned kClearFolders = 33202;        // "< &Clear list >" of menu 201
constexpr unsigned kSeparatorId = 0;             // entries are inserted before it

#define IDM_RECENT_FILES 200
#define IDM_RECENT_FOLDERS 201
#define IDC_CLEAR_FILES 33201
#define IDC_CLEAR_FOLDERS 33202
