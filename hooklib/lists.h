// The two recent lists of this process, loaded from the recent store for each
// attached dialog: heap strings of entries, each ending in one line feed,
// newest first; an empty list is null, never an empty string.
#pragma once

#include "win32.h"

extern char* g_recentDocuments;
extern char* g_recentFolders;

// Rebuilds both lists from the application key; when the key cannot be
// opened, both stay as they were.
void LoadRecentLists();

// Releases the list that a clear item (33201 or 33202) names and deletes the
// values of its list key.
void ClearRecentList(unsigned commandId);

// Copies the entry that commandId names (without its line feed) into entry,
// kPathChars bytes. False when the id names no entry or the entry does not
// fit a path buffer.
bool FindListEntry(const char* list, unsigned baseId, unsigned commandId, char* entry);

// Frees a list and sets it to null.
void ReleaseList(char** list);
