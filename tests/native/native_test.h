// What the native tests share: the registry paths of the recent store, a
// fixture that resets the stand-in and checks afterwards that every key the
// code opened was closed once, and helpers that show a key's contents as one
// line and report failures at the caller's line.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "standin.h"

constexpr const char* kSoftwarePath = "software";
constexpr const char* kCompanyPath = "software\\Corvane Software";
constexpr const char* kProductPath = "software\\Corvane Software\\Lumora";
constexpr const char* kDataPath = "software\\Corvane Software\\Lumora\\Data";
constexpr const char* kEditorModule = "C:\\Tools\\editor.exe";
constexpr const char* kEditorPath = "software\\Corvane Software\\Lumora\\Data\\editor.exe";
constexpr const char* kFoldersPath = "software\\Corvane Software\\Lumora\\Data\\editor.exe\\Folders";
constexpr const char* kFilesPath = "software\\Corvane Software\\Lumora\\Data\\editor.exe\\Files";

// A value as one "name=text" item: REG_SZ data that ends in its one zero byte
// shows as its text, anything else as its type and bytes.
inline std::string ShowValue(const standin::Value& value)
{
    const std::vector<BYTE>& d = value.data;
    bool plain = value.type == REG_SZ && !d.empty() && d.back() == 0;
    for (size_t i = 0; plain && i + 1 < d.size(); ++i)
        plain = d[i] != 0;
    if (plain)
        return value.name + "=" + std::string(d.begin(), d.end() - 1);
    std::string out = value.name + "=<type " + std::to_string(value.type) + ":";
    for (BYTE b : d) {
        char hex[4];
        snprintf(hex, sizeof hex, " %02x", b);
        out += hex;
    }
    return out + ">";
}

// The key's values in order, "name=text" separated by " | "; "(no key)" when
// it is missing.
inline std::string ShowKey(const std::string& path)
{
    if (!standin::KeyExists(path))
        return "(no key)";
    std::string out;
    for (const standin::Value& value : standin::Values(path))
        out += (out.empty() ? "" : " | ") + ShowValue(value);
    return out;
}

inline void ExpectKey(const char* file, int line, const std::string& path, const std::string& expected)
{
    ::testing::ScopedTrace trace(file, line, "key " + path);
    EXPECT_EQ(expected, ShowKey(path));
}
#define EXPECT_KEY(path, expected) ExpectKey(__FILE__, __LINE__, (path), (expected))

// Every key opened or created was closed, and none twice.
inline void ExpectKeysClosed(const char* file, int line)
{
    ::testing::ScopedTrace trace(file, line, "keys closed");
    EXPECT_EQ(0, standin::OpenHandles());
    EXPECT_EQ(0, standin::BadCloses());
}
#define EXPECT_KEYS_CLOSED() ExpectKeysClosed(__FILE__, __LINE__)

// Calls of one kind that the code made on the key at path.
inline unsigned CallsOn(standin::Call kind, const std::string& path)
{
    unsigned n = 0;
    for (const standin::CallRecord& record : standin::Log())
        n += record.kind == kind && record.path == path;
    return n;
}

// A copy of s in a heap block of exactly its size, so that a walk past its
// terminator is caught by the address sanitizer.
inline std::unique_ptr<char[]> ExactCopy(const std::string& s)
{
    std::unique_ptr<char[]> copy(new char[s.size() + 1]);
    memcpy(copy.get(), s.c_str(), s.size() + 1);
    return copy;
}

class StandinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        standin::Reset();
        standin::SetModuleFileName(kEditorModule);
    }
    void TearDown() override
    {
        EXPECT_KEYS_CLOSED();
        standin::Reset();
    }
};
