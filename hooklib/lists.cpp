// The recent documents and recent folders lists of this process: loading them
// newest first from the application key, clearing one, and finding the entry
// that a menu command names. The registry keeps the newest value last, so the
// values are read from the highest index down.

#include "lists.h"

#include "commands.h"
#include "names.h"
#include "store.h"
#include "text.h"

// Module state: the two lists, null between dialogs.
char* g_recentDocuments = nullptr;
char* g_recentFolders = nullptr;

void ReleaseList(char** list)
{
    if (*list != nullptr) {
        HeapFree(GetProcessHeap(), 0, *list);
        *list = nullptr;
    }
}

// Adds one entry at the end of list: the data up to its first zero byte, and
// never past dataSize. A failed allocation leaves the list as it was.
static void AppendEntry(char** list, const BYTE* data, DWORD dataSize)
{
    DWORD textLength = 0;
    while (textLength < dataSize && data[textLength] != 0)
        ++textLength;
    DWORD listLength = *list != nullptr ? (DWORD)lstrlenA(*list) : 0;
    char* block = (char*)HeapAlloc(GetProcessHeap(), 0, listLength + textLength + 2);
    if (block == nullptr)
        return;
    for (DWORD i = 0; i < listLength; ++i)
        block[i] = (*list)[i];
    for (DWORD i = 0; i < textLength; ++i)
        block[listLength + i] = (char)data[i];
    block[listLength + textLength] = '\n';
    block[listLength + textLength + 1] = '\0';
    ReleaseList(list);
    *list = block;
}

// Loads one list key, highest index first. Past the fiftieth entry nothing is
// loaded: such entries could have no command id of their own list.
static void LoadList(HKEY applicationKey, const char* keyName, char** list)
{
    HKEY listKey;
    if (RegOpenKeyExA(applicationKey, keyName, 0, KEY_READ, &listKey) != ERROR_SUCCESS)
        return;
    DWORD count = 0;
    if (RegQueryInfoKeyA(listKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                         nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        char name[kNameChars];
        BYTE data[kDataBytes];
        unsigned entries = 0;
        for (DWORD index = count - 1; index < count && entries < kEntriesPerList; --index) {
            DWORD nameLength = kNameChars;
            DWORD dataSize = kDataBytes;
            LONG result = RegEnumValueA(listKey, index, name, &nameLength, nullptr, nullptr, data, &dataSize);
            if (result == ERROR_NO_MORE_ITEMS)
                break;
            if (result != ERROR_SUCCESS)
                continue;
            // A value whose data holds line feeds gives several entries; the
            // cap counts them, since each takes an id.
            AppendEntry(list, data, dataSize);
            for (DWORD i = 0; i < dataSize && data[i] != 0; ++i)
                entries += data[i] == '\n';
            ++entries;
        }
    }
    RegCloseKey(listKey);
}

// Empties one list key. Each value is deleted by the name that index 0 gives;
// a value that cannot be enumerated or deleted would come back at index 0 for
// ever, so the first failure ends the clearing.
static void ClearListKey(HKEY applicationKey, const char* keyName)
{
    HKEY listKey;
    if (RegOpenKeyExA(applicationKey, keyName, 0, LUMORA_KEY_ACCESS, &listKey) != ERROR_SUCCESS)
        return;
    char name[kNameChars];
    for (;;) {
        DWORD nameLength = kNameChars;
        if (RegEnumValueA(listKey, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (RegDeleteValueA(listKey, name) != ERROR_SUCCESS)
            break;
    }
    RegCloseKey(listKey);
}

// Opens the application key read-write without creating anything, runs
// clearId's clearing or (clearId 0) the loading in it, and closes every level.
static void WithApplicationKey(unsigned clearId)
{
    char moduleFileName[kPathChars];
    if (!GetModulePath(moduleFileName))
        return;
    const char* applicationName = ApplicationNameOf(moduleFileName);

    HKEY software, company, product, data, application;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, LUMORA_SOFTWARE_KEY, 0, LUMORA_KEY_ACCESS, &software) == ERROR_SUCCESS) {
        if (RegOpenKeyExA(software, LUMORA_COMPANY_KEY, 0, LUMORA_KEY_ACCESS, &company) == ERROR_SUCCESS) {
            if (RegOpenKeyExA(company, LUMORA_PRODUCT_KEY, 0, LUMORA_KEY_ACCESS, &product) == ERROR_SUCCESS) {
                if (RegOpenKeyExA(product, LUMORA_DATA_KEY, 0, LUMORA_KEY_ACCESS, &data) == ERROR_SUCCESS) {
                    if (RegOpenKeyExA(data, applicationName, 0, LUMORA_KEY_ACCESS, &application) == ERROR_SUCCESS) {
                        if (clearId == kClearFolders) {
                            ReleaseList(&g_recentFolders);
                            ClearListKey(application, LUMORA_FOLDERS_KEY);
                        } else if (clearId == kClearDocuments) {
                            ReleaseList(&g_recentDocuments);
                            ClearListKey(application, LUMORA_FILES_KEY);
                        } else {
                            ReleaseList(&g_recentDocuments);
                            ReleaseList(&g_recentFolders);
                            LoadList(application, LUMORA_FOLDERS_KEY, &g_recentFolders);
                            LoadList(application, LUMORA_FILES_KEY, &g_recentDocuments);
                        }
                        RegCloseKey(application);
                    }
                    RegCloseKey(data);
                }
                RegCloseKey(product);
            }
            RegCloseKey(company);
        }
        RegCloseKey(software);
    }
}

void LoadRecentLists()
{
    WithApplicationKey(0);
}

void ClearRecentList(unsigned commandId)
{
    if (commandId == kClearDocuments || commandId == kClearFolders)
        WithApplicationKey(commandId);
}

bool FindListEntry(const char* list, unsigned baseId, unsigned commandId, char* entry)
{
    if (list == nullptr || commandId < baseId || commandId >= baseId + kEntriesPerList)
        return false;
    unsigned id = baseId;
    const char* start = list;
    for (const char* lineFeed = FindLineFeed(start); lineFeed != nullptr; lineFeed = FindLineFeed(start)) {
        if (id == commandId) {
            // An entry that no path buffer holds (hand-edited data) would be
            // a different path once cut, so it names nothing.
            DWORD length = (DWORD)(lineFeed - start);
            if (length >= kPathChars)
                return false;
            for (DWORD i = 0; i < length; ++i)
                entry[i] = start[i];
            entry[length] = '\0';
            return true;
        }
        ++id;
        start = lineFeed + 1;
    }
    return false;
}
