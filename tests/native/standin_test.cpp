// The stand-in's registry must behave as Windows does in every point the
// recent store and the recent lists rely on; otherwise their tests would pass
// against a registry that does not exist.

#include "native_test.h"

namespace {

using standin::Call;

class RegistryStandin : public StandinTest {
protected:
    HKEY Open(const char* path, REGSAM access)
    {
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, access, &key)) << path;
        return key;
    }
};

TEST_F(RegistryStandin, ValuesKeepCreationOrder)
{
    standin::CreateKey("k");
    HKEY key = Open("k", KEY_READ | KEY_WRITE);
    for (const char* name : {"C", "A", "B"})
        RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)name, 2);
    EXPECT_KEY("k", "C=C | A=A | B=B");

    // Rewriting under another letter case keeps the place and the first spelling.
    RegSetValueExA(key, "c", 0, REG_SZ, (const BYTE*)"x", 2);
    EXPECT_KEY("k", "C=x | A=A | B=B");

    // Deleting moves the later values forward.
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteValueA(key, "c"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueA(key, "c"));
    EXPECT_KEY("k", "A=A | B=B");

    char name[64];
    DWORD nameLength = sizeof name;
    EXPECT_EQ(ERROR_SUCCESS, RegEnumValueA(key, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr));
    EXPECT_STREQ("A", name);
    for (DWORD index : {2u, 3u, 0xFFFFFFFFu}) {
        nameLength = sizeof name;
        EXPECT_EQ(ERROR_NO_MORE_ITEMS, RegEnumValueA(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr))
            << index;
    }
    DWORD values = 99;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                                              nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(2u, values);
    RegCloseKey(key);
}

TEST_F(RegistryStandin, EnumerationCapacities)
{
    struct Row {
        const char* label;
        size_t nameChars;       // the stored value's name length
        size_t dataBytes;       // and data size
        LONG result;
        DWORD nameOut;          // name length reported on success
        DWORD dataOut;          // data size reported (also on ERROR_MORE_DATA)
    };
    const Row rows[] = {
        {"name of 63 characters fits 64", 63, 10, ERROR_SUCCESS, 63, 10},
        {"name of 64 characters does not", 64, 10, ERROR_MORE_DATA, 0, 10},
        {"data of 261 bytes fits", 5, 261, ERROR_SUCCESS, 5, 261},
        {"data of 262 bytes does not", 5, 262, ERROR_MORE_DATA, 0, 262},
        {"empty data", 5, 0, ERROR_SUCCESS, 5, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        standin::Reset();
        std::string name(row.nameChars, 'n');
        std::vector<BYTE> data(row.dataBytes, 'd');
        standin::SetValue("k", name, REG_BINARY, data.data(), (DWORD)data.size());
        HKEY key = Open("k", KEY_READ);
        char nameBuffer[64];
        BYTE dataBuffer[261];
        DWORD nameLength = sizeof nameBuffer;
        DWORD dataSize = sizeof dataBuffer;
        DWORD type = 0;
        EXPECT_EQ(row.result, RegEnumValueA(key, 0, nameBuffer, &nameLength, nullptr, &type, dataBuffer, &dataSize));
        EXPECT_EQ(row.dataOut, dataSize);
        if (row.result == ERROR_SUCCESS) {
            EXPECT_EQ(row.nameOut, nameLength);
            EXPECT_EQ(name, nameBuffer);
            EXPECT_EQ((DWORD)REG_BINARY, type);
        }
        // Name only: no data pointers at all.
        nameLength = sizeof nameBuffer;
        EXPECT_EQ(row.nameChars < 64 ? ERROR_SUCCESS : ERROR_MORE_DATA,
                  RegEnumValueA(key, 0, nameBuffer, &nameLength, nullptr, nullptr, nullptr, nullptr));
        RegCloseKey(key);
    }
}

TEST_F(RegistryStandin, KeyPathsAccessAndDeletion)
{
    standin::UseDoubleByteTable(true);
    // 0x95 0x5C is one character: its trail byte separates nothing.
    standin::CreateKey("Software\\\x95\x5C");
    EXPECT_TRUE(standin::KeyExists("SOFTWARE\\\x95\x5C"));
    EXPECT_FALSE(standin::KeyExists("software\\\x95"));

    standin::Faults("software").readOnly = true;
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegOpenKeyExA(HKEY_CURRENT_USER, "software", 0, KEY_READ | KEY_WRITE, &key));
    key = Open("software", KEY_READ);
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegSetValueExA(key, "v", 0, REG_SZ, (const BYTE*)"", 1));
    HKEY child = nullptr;
    EXPECT_EQ(ERROR_ACCESS_DENIED,
              RegCreateKeyExA(key, "new", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &child, nullptr));

    standin::DeleteKey("software");
    char name[64];
    DWORD nameLength = sizeof name;
    EXPECT_EQ(ERROR_KEY_DELETED, RegEnumValueA(key, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(key));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(key));
    EXPECT_EQ(1, standin::BadCloses());
    standin::Reset();
}

TEST_F(RegistryStandin, InjectedFailuresAndCounts)
{
    standin::SetString("k", "v", "x");
    standin::FailNthCall(Call::Open, 2, ERROR_ACCESS_DENIED);
    HKEY first = Open("k", KEY_READ);
    HKEY second = nullptr;
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegOpenKeyExA(HKEY_CURRENT_USER, "k", 0, KEY_READ, &second));
    EXPECT_EQ(nullptr, second);
    EXPECT_EQ(1, standin::OpenHandles());
    EXPECT_EQ(2u, standin::CallCount(Call::Open));
    RegCloseKey(first);

    standin::FailNthAllocation(2);
    void* a = HeapAlloc(GetProcessHeap(), 0, 4);
    void* b = HeapAlloc(GetProcessHeap(), 0, 4);
    EXPECT_NE(nullptr, a);
    EXPECT_EQ(nullptr, b);
    EXPECT_EQ(1, standin::LiveAllocations());
    HeapFree(GetProcessHeap(), 0, a);
    EXPECT_EQ(0, standin::LiveAllocations());
}

}  // namespace
