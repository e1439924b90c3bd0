// In-memory stand-in for the registry and kernel calls of the portable hook
// library files, with the test-side controls of standin.h. It follows the
// platform where the code under test relies on it and is stricter where the
// platform leaves things undefined: a value that does not fit the caller's
// buffers fills them completely without a terminator, so code that reads them
// after ERROR_MORE_DATA runs off their end under AddressSanitizer.

#include "standin.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

#include <map>
#include <memory>

namespace {

using standin::Call;
using standin::CallRecord;
using standin::KeyFaults;
using standin::Value;

constexpr int kCallKinds = 7;
static_assert(sizeof(OSVERSIONINFOA) == 148, "the platform's record is 148 bytes");
constexpr DWORD kVersionExSize = 156;   // OSVERSIONINFOEXA, also accepted
const HMODULE kExecutableModule = (HMODULE)(ULONG_PTR)0x400000;
const HANDLE kProcessHeap = (HANDLE)(ULONG_PTR)0x150000;

struct Key {
    std::string name;
    Key* parent = nullptr;
    std::vector<std::shared_ptr<Key>> children;
    std::vector<Value> values;
    bool deleted = false;
};

struct Handle {
    std::shared_ptr<Key> key;
    REGSAM access;
};

// Everything Reset puts back.
struct State {
    std::shared_ptr<Key> root = std::make_shared<Key>();
    std::map<ULONG_PTR, Handle> handles;
    ULONG_PTR nextHandle = 0x1000;
    std::map<std::string, KeyFaults> faults;   // by folded path
    unsigned counts[kCallKinds] = {};
    unsigned failAt[kCallKinds] = {};
    LONG failCode[kCallKinds] = {};
    std::vector<CallRecord> log;
    std::function<void(const CallRecord&)> hook;
    int badCloses = 0;
    unsigned allocations = 0;
    unsigned failAllocationAt = 0;
    int liveAllocations = 0;
    bool haveModuleFileName = true;
    std::string moduleFileName = "C:\\Program Files\\Editor\\editor.exe";
    bool versionFails = false;
    bool versionClean = false;
    OSVERSIONINFOA version = {sizeof(OSVERSIONINFOA), 5, 1, 2600, VER_PLATFORM_WIN32_NT, "Service Pack 3"};
    bool shiftJis = false;
};

State& S()
{
    static State state;
    return state;
}

bool IsLead(BYTE c)
{
    return S().shiftJis && ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC));
}

// The form in which names are compared: ASCII letters lowered, double-byte
// characters kept as they are.
std::string Fold(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        BYTE c = (BYTE)s[i];
        if (IsLead(c) && i + 1 < s.size()) {
            out += s[i];
            out += s[++i];
        } else {
            out += (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : (char)c;
        }
    }
    return out;
}

bool SameName(const std::string& a, const std::string& b)
{
    return Fold(a) == Fold(b);
}

std::vector<std::string> Split(const char* path)
{
    std::vector<std::string> parts;
    std::string part;
    for (const char* p = path != nullptr ? path : ""; *p != '\0'; ++p) {
        if (IsLead((BYTE)*p) && p[1] != '\0') {
            part += p[0];
            part += p[1];
            ++p;
        } else if (*p == '\\') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += *p;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

std::string PathOf(const Key* key)
{
    std::string path;
    for (; key != nullptr && key->parent != nullptr; key = key->parent)
        path = path.empty() ? key->name : key->name + "\\" + path;
    return path;
}

std::string Join(const std::string& base, const std::vector<std::string>& parts)
{
    std::string path = base;
    for (const std::string& part : parts)
        path = path.empty() ? part : path + "\\" + part;
    return path;
}

std::shared_ptr<Key> FindChild(const Key* key, const std::string& name)
{
    for (const auto& child : key->children) {
        if (SameName(child->name, name))
            return child;
    }
    return nullptr;
}

std::shared_ptr<Key> FindPath(const std::shared_ptr<Key>& from, const std::vector<std::string>& parts)
{
    std::shared_ptr<Key> key = from;
    for (const std::string& part : parts) {
        key = FindChild(key.get(), part);
        if (!key)
            return nullptr;
    }
    return key;
}

std::shared_ptr<Key> MakePath(const std::shared_ptr<Key>& from, const std::vector<std::string>& parts)
{
    std::shared_ptr<Key> key = from;
    for (const std::string& part : parts) {
        std::shared_ptr<Key> child = FindChild(key.get(), part);
        if (!child) {
            child = std::make_shared<Key>();
            child->name = part;
            child->parent = key.get();
            key->children.push_back(child);
        }
        key = child;
    }
    return key;
}

const KeyFaults* FaultsOf(const std::string& path)
{
    auto it = S().faults.find(Fold(path));
    return it != S().faults.end() ? &it->second : nullptr;
}

Value* FindValue(Key* key, const char* name)
{
    std::string wanted = name != nullptr ? name : "";
    for (Value& value : key->values) {
        if (SameName(value.name, wanted))
            return &value;
    }
    return nullptr;
}

// The handle's record, or null with the registry's answer in *code.
Handle* Resolve(HKEY key, LONG* code)
{
    static Handle rootHandle;
    Handle* handle = nullptr;
    if (key == HKEY_CURRENT_USER) {
        rootHandle.key = S().root;
        rootHandle.access = KEY_READ | KEY_WRITE;
        handle = &rootHandle;
    } else {
        auto it = S().handles.find((ULONG_PTR)key);
        if (it == S().handles.end()) {
            *code = ERROR_INVALID_HANDLE;
            return nullptr;
        }
        handle = &it->second;
    }
    if (handle->key->deleted) {
        *code = ERROR_KEY_DELETED;
        return nullptr;
    }
    *code = ERROR_SUCCESS;
    return handle;
}

// Counts and logs the call, runs the test's hook, and answers an injected
// failure when this is the call chosen for one.
LONG BeginCall(Call kind, const std::string& path, const std::string& name, DWORD index, REGSAM access)
{
    int k = (int)kind;
    State& s = S();
    ++s.counts[k];
    CallRecord record = {kind, path, name, index, access};
    s.log.push_back(record);
    if (s.hook) {
        auto hook = s.hook;
        hook(record);
    }
    if (s.failAt[k] != 0 && s.counts[k] == s.failAt[k]) {
        s.failAt[k] = 0;
        return s.failCode[k];
    }
    return ERROR_SUCCESS;
}

HKEY NewHandle(const std::shared_ptr<Key>& key, REGSAM access)
{
    ULONG_PTR value = S().nextHandle;
    S().nextHandle += 4;
    S().handles[value] = Handle{key, access};
    return (HKEY)value;
}

bool AsksWrite(REGSAM access)
{
    return (access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY)) != 0;
}

void MarkDeleted(Key* key)
{
    key->deleted = true;
    for (const auto& child : key->children)
        MarkDeleted(child.get());
}

void Dump(const Key* key, std::string& out)
{
    out += "[" + PathOf(key) + "]\n";
    for (const Value& value : key->values) {
        char head[32];
        snprintf(head, sizeof head, " (%u)", (unsigned)value.type);
        out += "  " + value.name + head;
        for (BYTE b : value.data) {
            char hex[4];
            snprintf(hex, sizeof hex, " %02x", b);
            out += hex;
        }
        out += "\n";
    }
    for (const auto& child : key->children)
        Dump(child.get(), out);
}

}  // namespace

// ---- Registry ---------------------------------------------------------------

LONG WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM access, PHKEY result)
{
    LONG resolved;
    Handle* parent = Resolve(key, &resolved);
    std::vector<std::string> parts = Split(subKey);
    std::string path = parent != nullptr ? Join(PathOf(parent->key.get()), parts) : "?";
    LONG code = BeginCall(Call::Open, path, subKey != nullptr ? subKey : "", 0, access);
    if (result == nullptr)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    if (code != ERROR_SUCCESS)
        return code;
    if (parent == nullptr)
        return resolved;
    const KeyFaults* faults = FaultsOf(path);
    if (faults != nullptr && faults->openFails != 0)
        return faults->openFails;
    std::shared_ptr<Key> target = FindPath(parent->key, parts);
    if (!target)
        return ERROR_FILE_NOT_FOUND;
    if (faults != nullptr && faults->readOnly && AsksWrite(access))
        return ERROR_ACCESS_DENIED;
    *result = NewHandle(target, access);
    return ERROR_SUCCESS;
}

LONG WINAPI RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM access,
                            LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition)
{
    LONG resolved;
    Handle* parent = Resolve(key, &resolved);
    std::vector<std::string> parts = Split(subKey);
    std::string path = parent != nullptr ? Join(PathOf(parent->key.get()), parts) : "?";
    LONG code = BeginCall(Call::Create, path, subKey != nullptr ? subKey : "", 0, access);
    if (result == nullptr)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    if (code != ERROR_SUCCESS)
        return code;
    if (parent == nullptr)
        return resolved;
    const KeyFaults* faults = FaultsOf(path);
    if (faults != nullptr && faults->createFails != 0)
        return faults->createFails;
    std::shared_ptr<Key> target = FindPath(parent->key, parts);
    bool created = !target;
    if (created) {
        if ((parent->access & KEY_CREATE_SUB_KEY) == 0)
            return ERROR_ACCESS_DENIED;
        target = MakePath(parent->key, parts);
    } else if (faults != nullptr && faults->readOnly && AsksWrite(access)) {
        return ERROR_ACCESS_DENIED;
    }
    if (disposition != nullptr)
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *result = NewHandle(target, access);
    return ERROR_SUCCESS;
}

LONG WINAPI RegCloseKey(HKEY key)
{
    if (key == HKEY_CURRENT_USER)
        return ERROR_SUCCESS;
    auto it = S().handles.find((ULONG_PTR)key);
    std::string path = it != S().handles.end() ? PathOf(it->second.key.get()) : "?";
    LONG code = BeginCall(Call::Close, path, "", 0, 0);
    if (code != ERROR_SUCCESS)
        return code;
    it = S().handles.find((ULONG_PTR)key);
    if (it == S().handles.end()) {
        ++S().badCloses;
        return ERROR_INVALID_HANDLE;
    }
    S().handles.erase(it);
    return ERROR_SUCCESS;
}

LONG WINAPI RegEnumValueA(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD,
                          LPDWORD type, LPBYTE data, LPDWORD dataSize)
{
    LONG resolved;
    Handle* handle = Resolve(key, &resolved);
    std::string path = handle != nullptr ? PathOf(handle->key.get()) : "?";
    LONG code = BeginCall(Call::Enum, path, "", index, 0);
    if (code != ERROR_SUCCESS)
        return code;
    if (handle == nullptr)
        return resolved;
    if ((handle->access & KEY_QUERY_VALUE) == 0)
        return ERROR_ACCESS_DENIED;
    const KeyFaults* faults = FaultsOf(path);
    if (faults != nullptr && faults->enumFails != 0 && faults->enumFailIndex == index)
        return faults->enumFails;
    if (name == nullptr || nameLength == nullptr || (data != nullptr && dataSize == nullptr))
        return ERROR_INVALID_PARAMETER;
    const std::vector<Value>& values = handle->key->values;
    if (index >= values.size())
        return ERROR_NO_MORE_ITEMS;
    const Value& value = values[index];
    if (type != nullptr)
        *type = value.type;
    bool nameFits = value.name.size() < *nameLength;
    bool dataFits = data == nullptr || value.data.size() <= *dataSize;
    if (!nameFits || !dataFits) {
        memset(name, 'X', *nameLength);
        if (data != nullptr)
            memset(data, 0xCC, *dataSize);
        if (dataSize != nullptr)
            *dataSize = (DWORD)value.data.size();
        return ERROR_MORE_DATA;
    }
    memcpy(name, value.name.c_str(), value.name.size() + 1);
    *nameLength = (DWORD)value.name.size();
    if (data != nullptr && !value.data.empty())
        memcpy(data, value.data.data(), value.data.size());
    if (dataSize != nullptr)
        *dataSize = (DWORD)value.data.size();
    return ERROR_SUCCESS;
}

LONG WINAPI RegSetValueExA(HKEY key, LPCSTR name, DWORD, DWORD type, const BYTE* data, DWORD dataSize)
{
    LONG resolved;
    Handle* handle = Resolve(key, &resolved);
    std::string path = handle != nullptr ? PathOf(handle->key.get()) : "?";
    LONG code = BeginCall(Call::Set, path, name != nullptr ? name : "", 0, 0);
    if (code != ERROR_SUCCESS)
        return code;
    if (handle == nullptr)
        return resolved;
    if ((handle->access & KEY_SET_VALUE) == 0)
        return ERROR_ACCESS_DENIED;
    const KeyFaults* faults = FaultsOf(path);
    if (faults != nullptr && faults->setFails != 0)
        return faults->setFails;
    if (data == nullptr && dataSize != 0)
        return ERROR_INVALID_PARAMETER;
    std::vector<BYTE> bytes(data, data + dataSize);
    Value* existing = FindValue(handle->key.get(), name);
    if (existing != nullptr) {
        existing->type = type;
        existing->data = bytes;
    } else {
        handle->key->values.push_back(Value{name != nullptr ? name : "", type, bytes});
    }
    return ERROR_SUCCESS;
}

LONG WINAPI RegDeleteValueA(HKEY key, LPCSTR name)
{
    LONG resolved;
    Handle* handle = Resolve(key, &resolved);
    std::string path = handle != nullptr ? PathOf(handle->key.get()) : "?";
    LONG code = BeginCall(Call::Delete, path, name != nullptr ? name : "", 0, 0);
    if (code != ERROR_SUCCESS)
        return code;
    if (handle == nullptr)
        return resolved;
    if ((handle->access & KEY_SET_VALUE) == 0)
        return ERROR_ACCESS_DENIED;
    const KeyFaults* faults = FaultsOf(path);
    if (faults != nullptr && faults->deleteFails != 0)
        return faults->deleteFails;
    std::vector<Value>& values = handle->key->values;
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (SameName(it->name, name != nullptr ? name : "")) {
            values.erase(it);
            return ERROR_SUCCESS;
        }
    }
    return ERROR_FILE_NOT_FOUND;
}

LONG WINAPI RegQueryInfoKeyA(HKEY key, LPSTR, LPDWORD classLength, LPDWORD, LPDWORD subKeys,
                             LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values,
                             LPDWORD maxValueNameLength, LPDWORD maxValueLength,
                             LPDWORD securityDescriptor, PFILETIME lastWriteTime)
{
    LONG resolved;
    Handle* handle = Resolve(key, &resolved);
    std::string path = handle != nullptr ? PathOf(handle->key.get()) : "?";
    LONG code = BeginCall(Call::QueryInfo, path, "", 0, 0);
    if (code != ERROR_SUCCESS)
        return code;
    if (handle == nullptr)
        return resolved;
    if ((handle->access & KEY_QUERY_VALUE) == 0)
        return ERROR_ACCESS_DENIED;
    const KeyFaults* faults = FaultsOf(path);
    if (faults != nullptr && faults->queryInfoFails != 0)
        return faults->queryInfoFails;
    const Key* k = handle->key.get();
    DWORD longestSubKey = 0, longestName = 0, largestData = 0;
    for (const auto& child : k->children)
        longestSubKey = child->name.size() > longestSubKey ? (DWORD)child->name.size() : longestSubKey;
    for (const Value& value : k->values) {
        longestName = value.name.size() > longestName ? (DWORD)value.name.size() : longestName;
        largestData = value.data.size() > largestData ? (DWORD)value.data.size() : largestData;
    }
    if (classLength != nullptr) *classLength = 0;
    if (subKeys != nullptr) *subKeys = (DWORD)k->children.size();
    if (maxSubKeyLength != nullptr) *maxSubKeyLength = longestSubKey;
    if (maxClassLength != nullptr) *maxClassLength = 0;
    if (values != nullptr) *values = (DWORD)k->values.size();
    if (maxValueNameLength != nullptr) *maxValueNameLength = longestName;
    if (maxValueLength != nullptr) *maxValueLength = largestData;
    if (securityDescriptor != nullptr) *securityDescriptor = 0;
    if (lastWriteTime != nullptr) *lastWriteTime = FILETIME{0, 0};
    return ERROR_SUCCESS;
}

// ---- Kernel and user --------------------------------------------------------

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName)
{
    return moduleName == nullptr ? kExecutableModule : nullptr;
}

// A name that does not fit is cut to the buffer's size without a terminator
// and the size is returned, as Windows XP does (later releases terminate it).
DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size)
{
    if ((module != nullptr && module != kExecutableModule) || !S().haveModuleFileName || size == 0)
        return 0;
    const std::string& name = S().moduleFileName;
    if (name.size() < size) {
        memcpy(fileName, name.c_str(), name.size() + 1);
        return (DWORD)name.size();
    }
    memcpy(fileName, name.data(), size);
    return size;
}

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA version)
{
    if (version == nullptr)
        return FALSE;
    const BYTE* bytes = (const BYTE*)version;
    bool clean = true;
    for (size_t i = sizeof version->dwOSVersionInfoSize; i < sizeof *version; ++i)
        clean = clean && bytes[i] == 0;
    S().versionClean = clean;
    if (S().versionFails)
        return FALSE;
    if (version->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA) && version->dwOSVersionInfoSize != kVersionExSize)
        return FALSE;
    DWORD size = version->dwOSVersionInfoSize;
    *version = S().version;
    version->dwOSVersionInfoSize = size;
    return TRUE;
}

BOOL WINAPI IsDBCSLeadByte(BYTE c)
{
    return IsLead(c) ? TRUE : FALSE;
}

HANDLE WINAPI GetProcessHeap(void)
{
    return kProcessHeap;
}

LPVOID WINAPI HeapAlloc(HANDLE, DWORD flags, SIZE_T bytes)
{
    State& s = S();
    ++s.allocations;
    if (s.failAllocationAt != 0 && s.allocations == s.failAllocationAt) {
        s.failAllocationAt = 0;
        return nullptr;
    }
    void* block = malloc(bytes != 0 ? bytes : 1);
    if (block == nullptr)
        return nullptr;
    if (flags & HEAP_ZERO_MEMORY)
        memset(block, 0, bytes);
    ++s.liveAllocations;
    return block;
}

BOOL WINAPI HeapFree(HANDLE, DWORD, LPVOID block)
{
    if (block == nullptr)
        return TRUE;
    free(block);
    --S().liveAllocations;
    return TRUE;
}

int WINAPI lstrlenA(LPCSTR s)
{
    return s != nullptr ? (int)strlen(s) : 0;
}

LPSTR WINAPI lstrcpynA(LPSTR destination, LPCSTR source, int length)
{
    if (length <= 0)
        return destination;
    int i = 0;
    for (; i < length - 1 && source[i] != '\0'; ++i)
        destination[i] = source[i];
    destination[i] = '\0';
    return destination;
}

LPSTR WINAPI lstrcpyA(LPSTR destination, LPCSTR source)
{
    return strcpy(destination, source);
}

// Like the platform, at most 1024 characters are produced.
int WINAPIV wsprintfA(LPSTR buffer, LPCSTR format, ...)
{
    char text[1025];
    va_list args;
    va_start(args, format);
    int length = vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (length < 0)
        length = 0;
    if (length > 1024)
        length = 1024;
    memcpy(buffer, text, (size_t)length + 1);
    return length;
}

// ---- Test-side controls -----------------------------------------------------

namespace standin {

void Reset()
{
    S() = State();
}

void CreateKey(const std::string& path)
{
    MakePath(S().root, Split(path.c_str()));
}

bool KeyExists(const std::string& path)
{
    return FindPath(S().root, Split(path.c_str())) != nullptr;
}

void DeleteKey(const std::string& path)
{
    std::shared_ptr<Key> key = FindPath(S().root, Split(path.c_str()));
    if (!key || key->parent == nullptr)
        return;
    auto& siblings = key->parent->children;
    for (auto it = siblings.begin(); it != siblings.end(); ++it) {
        if (*it == key) {
            siblings.erase(it);
            break;
        }
    }
    MarkDeleted(key.get());
    key->parent = nullptr;
}

void SetValue(const std::string& path, const std::string& name, DWORD type, const void* data, DWORD size)
{
    std::shared_ptr<Key> key = MakePath(S().root, Split(path.c_str()));
    const BYTE* bytes = (const BYTE*)data;
    std::vector<BYTE> copy(bytes, bytes + size);
    Value* existing = FindValue(key.get(), name.c_str());
    if (existing != nullptr) {
        existing->type = type;
        existing->data = copy;
    } else {
        key->values.push_back(Value{name, type, copy});
    }
}

void SetString(const std::string& path, const std::string& name, const std::string& text)
{
    SetValue(path, name, REG_SZ, text.c_str(), (DWORD)text.size() + 1);
}

void DeleteValue(const std::string& path, const std::string& name)
{
    std::shared_ptr<Key> key = FindPath(S().root, Split(path.c_str()));
    if (!key)
        return;
    for (auto it = key->values.begin(); it != key->values.end(); ++it) {
        if (SameName(it->name, name)) {
            key->values.erase(it);
            return;
        }
    }
}

std::vector<Value> Values(const std::string& path)
{
    std::shared_ptr<Key> key = FindPath(S().root, Split(path.c_str()));
    return key ? key->values : std::vector<Value>();
}

std::string Snapshot()
{
    std::string out;
    Dump(S().root.get(), out);
    return out;
}

KeyFaults& Faults(const std::string& path)
{
    return S().faults[Fold(Join("", Split(path.c_str())))];
}

void FailNthCall(Call kind, unsigned n, LONG code)
{
    int k = (int)kind;
    S().failAt[k] = S().counts[k] + n;
    S().failCode[k] = code;
}

void FailNthAllocation(unsigned n)
{
    S().failAllocationAt = S().allocations + n;
}

void OnCall(std::function<void(const CallRecord&)> hook)
{
    S().hook = std::move(hook);
}

void SetModuleFileName(const char* fileName)
{
    S().haveModuleFileName = fileName != nullptr;
    S().moduleFileName = fileName != nullptr ? fileName : "";
}

void SetVersion(DWORD platformId, DWORD major, DWORD minor, const char* servicePack)
{
    OSVERSIONINFOA& v = S().version;
    memset(&v, 0, sizeof v);
    v.dwOSVersionInfoSize = sizeof v;
    v.dwMajorVersion = major;
    v.dwMinorVersion = minor;
    v.dwPlatformId = platformId;
    snprintf(v.szCSDVersion, sizeof v.szCSDVersion, "%s", servicePack);
    S().versionFails = false;
}

void FailVersion()
{
    S().versionFails = true;
}

bool VersionRecordWasClean()
{
    return S().versionClean;
}

void UseDoubleByteTable(bool shiftJis)
{
    S().shiftJis = shiftJis;
}

unsigned CallCount(Call kind)
{
    return S().counts[(int)kind];
}

const std::vector<CallRecord>& Log()
{
    return S().log;
}

int OpenHandles()
{
    return (int)S().handles.size();
}

int BadCloses()
{
    return S().badCloses;
}

int LiveAllocations()
{
    return S().liveAllocations;
}

}  // namespace standin
