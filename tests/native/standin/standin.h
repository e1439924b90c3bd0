// Test-side controls of the Win32 stand-in: seed and read the in-memory
// registry, make chosen calls fail, watch the calls the code under test
// makes, and reset everything between tests. Key paths are relative to
// HKEY_CURRENT_USER, levels separated by backslashes, matched like the
// registry matches them (ASCII letters without regard to case, a double-byte
// character's trail byte never taken for a separator).
#pragma once

#include "win32_standin.h"

#include <functional>
#include <string>
#include <vector>

namespace standin {

enum class Call { Open, Create, Close, Enum, Set, Delete, QueryInfo };

struct Value {
    std::string name;
    DWORD type;
    std::vector<BYTE> data;
};

// One registry call as the code under test made it. path is the key it
// worked on (for opens and creates, the key asked for), name the subkey or
// value name, index the enumeration index.
struct CallRecord {
    Call kind;
    std::string path;
    std::string name;
    DWORD index;
    REGSAM access;
};

// Faults of one key, matched by its path. A code of 0 means no fault.
struct KeyFaults {
    LONG openFails = 0;         // RegOpenKeyExA of this key
    LONG createFails = 0;       // RegCreateKeyExA of this key
    LONG setFails = 0;          // every RegSetValueExA in it
    LONG deleteFails = 0;       // every RegDeleteValueA in it
    LONG queryInfoFails = 0;    // RegQueryInfoKeyA on it
    LONG enumFails = 0;         // RegEnumValueA on it at enumFailIndex
    DWORD enumFailIndex = 0;
    bool readOnly = false;      // opens and creates asking for write access are denied
};

// Back to an empty registry (HKEY_CURRENT_USER with nothing below), no
// faults, no counts, single-byte code page, module file name
// C:\Program Files\Editor\editor.exe and Windows XP SP3 as the version.
void Reset();

// Keys and values.
void CreateKey(const std::string& path);
bool KeyExists(const std::string& path);
// Removes the key and everything below it; handles still open on it answer
// ERROR_KEY_DELETED from then on, as the registry does.
void DeleteKey(const std::string& path);
// Creates the key if needed; an existing value of that name keeps its place.
void SetValue(const std::string& path, const std::string& name, DWORD type, const void* data, DWORD size);
// REG_SZ with the terminator counted in the size.
void SetString(const std::string& path, const std::string& name, const std::string& text);
void DeleteValue(const std::string& path, const std::string& name);
// The key's values in enumeration order; none when the key is missing.
std::vector<Value> Values(const std::string& path);
// The whole tree, one line per key and value, to compare before and after.
std::string Snapshot();

// Failure injection.
KeyFaults& Faults(const std::string& path);
// The nth call of that kind from now on (n = 1 for the next) fails with code
// before it has any effect.
void FailNthCall(Call kind, unsigned n, LONG code);
// The nth HeapAlloc from now on returns null.
void FailNthAllocation(unsigned n);
// Runs before every registry call takes effect; it may change the registry
// through the functions above, as another process would.
void OnCall(std::function<void(const CallRecord&)> hook);

// Kernel services.
void SetModuleFileName(const char* fileName);   // null: GetModuleFileNameA answers 0
void SetVersion(DWORD platformId, DWORD major, DWORD minor, const char* servicePack);
void FailVersion();
// Whether the last record given to GetVersionExA was zero apart from its size.
bool VersionRecordWasClean();
// Shift-JIS lead bytes (0x81-0x9F, 0xE0-0xFC) or none.
void UseDoubleByteTable(bool shiftJis);

// Observation.
unsigned CallCount(Call kind);
const std::vector<CallRecord>& Log();
int OpenHandles();          // keys opened or created and not yet closed
int BadCloses();            // RegCloseKey of a handle that was not open
int LiveAllocations();      // HeapAlloc blocks not yet freed

}  // namespace standin
