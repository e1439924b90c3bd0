// The recent store: per application, the last ten folders and documents chosen
// in its file dialogs, kept as REG_SZ values under
// HKCU\software\Corvane Software\Lumora\Data\<application>\{Folders,Files}.
#pragma once

#include "win32.h"

constexpr DWORD kPathChars = 261;   // a path and its terminator
constexpr DWORD kNameChars = 64;    // a value name and its terminator
constexpr DWORD kDataBytes = 261;   // a value's data
constexpr int kMaxEntries = 10;     // values per list written by the store

#define LUMORA_DATA_KEY "Data"
#define LUMORA_FOLDERS_KEY "Folders"
#define LUMORA_FILES_KEY "Files"
#define LUMORA_FOLDER_PREFIX "Folder_"
#define LUMORA_FILE_PREFIX "File_"

// Records path (at most 260 bytes before its terminator) and its folder for
// the application of the running process. Silent on every failure.
void RecordRecentPath(const char* path);

// The folders phase, then the documents phase, in an open application key.
void RecordInApplicationKey(HKEY applicationKey, const char* path);

// Moves the data of the values after startPosition one place towards the
// oldest and writes text at the newest place.
void ShiftRecentValues(HKEY listKey, const char* text, DWORD startPosition, BOOL folders);

// Suffix of a value name: the signed decimal number after the prefix's
// length, read as strtol would, saturated to 32 bits.
int ReadNameSuffix(const char* name, int prefixLength);

// The executable's file name within moduleFileName (the text after its last
// backslash, or all of it).
const char* ApplicationNameOf(const char* moduleFileName);

// Fills moduleFileName (kPathChars) with the running executable's path;
// false when the platform gives none.
bool GetModulePath(char* moduleFileName);
