// The recent store: records a chosen path and its folder in the application's
// two list keys. Only the registry's own order of values says which string is
// newest (the value created last), so every rewrite keeps names and positions
// and moves the data instead. Fixed buffers only: it runs inside other
// programs at the moment their file dialog closes.

#include "store.h"

#include "names.h"
#include "text.h"

// One phase's fixed choices: which list key, which name prefix.
struct ListKind {
    const char* keyName;
    const char* prefix;
    int prefixLength;
};

static const ListKind kFolderList = {LUMORA_FOLDERS_KEY, LUMORA_FOLDER_PREFIX, 7};
static const ListKind kFileList = {LUMORA_FILES_KEY, LUMORA_FILE_PREFIX, 5};

bool GetModulePath(char* moduleFileName)
{
    DWORD length = GetModuleFileNameA(GetModuleHandleA(nullptr), moduleFileName, kPathChars);
    if (length == 0)
        return false;
    // A name that fills the buffer may come without its terminator on older
    // systems.
    moduleFileName[length < kPathChars ? length : kPathChars - 1] = '\0';
    return true;
}

const char* ApplicationNameOf(const char* moduleFileName)
{
    const char* backslash = FindLastBackslash(moduleFileName);
    return backslash != nullptr ? backslash + 1 : moduleFileName;
}

void RecordRecentPath(const char* path)
{
    char moduleFileName[kPathChars];
    if (!GetModulePath(moduleFileName))
        return;
    const char* applicationName = ApplicationNameOf(moduleFileName);

    HKEY software, company, product, data, application;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, LUMORA_SOFTWARE_KEY, 0, LUMORA_KEY_ACCESS, &software) == ERROR_SUCCESS) {
        if (RegOpenKeyExA(software, LUMORA_COMPANY_KEY, 0, LUMORA_KEY_ACCESS, &company) == ERROR_SUCCESS) {
            if (RegOpenKeyExA(company, LUMORA_PRODUCT_KEY, 0, LUMORA_KEY_ACCESS, &product) == ERROR_SUCCESS) {
                if (RegCreateKeyExA(product, LUMORA_DATA_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    LUMORA_KEY_ACCESS, nullptr, &data, nullptr) == ERROR_SUCCESS) {
                    if (RegCreateKeyExA(data, applicationName, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        LUMORA_KEY_ACCESS, nullptr, &application, nullptr) == ERROR_SUCCESS) {
                        RecordInApplicationKey(application, path);
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

static void WriteString(HKEY key, const char* name, const char* text)
{
    RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)text, (DWORD)lstrlenA(text) + 1);
}

// Scans one list key and adds, rotates or moves text to the newest place.
static void RecordInList(HKEY applicationKey, const ListKind& kind, const char* text)
{
    HKEY listKey;
    if (RegCreateKeyExA(applicationKey, kind.keyName, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        LUMORA_KEY_ACCESS, nullptr, &listKey, nullptr) != ERROR_SUCCESS)
        return;

    int largestSuffix = 0;
    bool found = false;
    DWORD foundPosition = 0;
    DWORD count = 0;
    bool readable = true;
    char name[kNameChars];
    BYTE data[kDataBytes];
    for (;; ++count) {
        DWORD nameLength = kNameChars;
        DWORD dataSize = kDataBytes;
        LONG result = RegEnumValueA(listKey, count, name, &nameLength, nullptr, nullptr, data, &dataSize);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result == ERROR_MORE_DATA)
            continue;   // a value that does not fit holds its place, nothing more
        if (result != ERROR_SUCCESS) {
            // The key itself failed (deleted meanwhile, say): no index will
            // ever report the end, and nothing read can be trusted.
            readable = false;
            break;
        }
        int suffix = ReadNameSuffix(name, kind.prefixLength);
        if (suffix > largestSuffix)
            largestSuffix = suffix;
        if (SamePathData(text, data, dataSize)) {
            found = true;
            foundPosition = count;
        }
    }

    if (readable) {
        if (!found && largestSuffix < kMaxEntries) {
            char newName[kNameChars];
            wsprintfA(newName, "%s%d", kind.prefix, largestSuffix + 1);
            WriteString(listKey, newName, text);
        } else if (!found) {
            ShiftRecentValues(listKey, text, 0, &kind == &kFolderList);
        } else if (foundPosition + 1 < count) {
            ShiftRecentValues(listKey, text, foundPosition, &kind == &kFolderList);
        }
    }
    RegCloseKey(listKey);
}

void RecordInApplicationKey(HKEY applicationKey, const char* path)
{
    char document[kPathChars];
    char folder[kPathChars];
    lstrcpynA(document, path, kPathChars);
    lstrcpynA(folder, path, kPathChars);
    const char* backslash = FindLastBackslash(folder);
    if (backslash != nullptr)
        folder[backslash - folder + 1] = '\0';

    RecordInList(applicationKey, kFolderList, folder);
    RecordInList(applicationKey, kFileList, document);
}

// The pass writes the value at position i under the name that position i - 1
// has in a key of the store's own form (prefix and i). On hand-edited keys
// such a name may not exist, and writing it adds a value at the end; so the
// pass never goes past the positions the scan counted and never writes a
// number above ten. Every name it can make is then one of the ten regular
// ones, and a broken key grows by at most those ten values, once.
void ShiftRecentValues(HKEY listKey, const char* text, DWORD startPosition, BOOL folders)
{
    const ListKind& kind = folders ? kFolderList : kFileList;

    DWORD count = 0;
    if (RegQueryInfoKeyA(listKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        count = kMaxEntries + 1;

    char lastName[kNameChars];
    bool haveLastName = false;
    char name[kNameChars];
    BYTE data[kDataBytes];
    for (DWORD i = startPosition + 1; i < count && i <= (DWORD)kMaxEntries; ++i) {
        DWORD nameLength = kNameChars;
        DWORD dataSize = kDataBytes;
        LONG result = RegEnumValueA(listKey, i, name, &nameLength, nullptr, nullptr, data, &dataSize);
        if (result == ERROR_MORE_DATA)
            continue;   // cannot be moved; it keeps its place and data
        if (result != ERROR_SUCCESS)
            break;
        char target[kNameChars];
        wsprintfA(target, "%s%d", kind.prefix, (int)i);
        RegSetValueExA(listKey, target, 0, REG_SZ, data, dataSize);
        lstrcpynA(lastName, name, kNameChars);
        haveLastName = true;
    }

    if (!haveLastName) {
        // Nothing after the start position moved: the string replaces the
        // value at the start position itself. When that value is gone too
        // (the key changed since the scan), it goes under the regular name
        // of that position.
        DWORD nameLength = kNameChars;
        if (RegEnumValueA(listKey, startPosition, lastName, &nameLength, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS)
            wsprintfA(lastName, "%s%d", kind.prefix, (int)startPosition + 1);
    }
    WriteString(listKey, lastName, text);
}

int ReadNameSuffix(const char* name, int prefixLength)
{
    for (int i = 0; i < prefixLength; ++i) {
        if (name[i] == '\0')
            return 0;
    }
    const char* p = name + prefixLength;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = (*p++ == '-');
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (value <= 2147483648LL)
            value = value * 10 + (*p - '0');
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return 2147483647;
    if (value < -2147483648LL)
        return (int)(-2147483647 - 1);
    return (int)value;
}
