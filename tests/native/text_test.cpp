// The multibyte-aware text helpers. Every row runs on a heap copy of exactly
// its size, so a walk that steps over the terminator (a lead byte at the very
// end) is caught by the address sanitizer.

#include "native_test.h"

#include "text.h"

namespace {

class Text : public StandinTest {};

// Shift-JIS 0x95 0x5C is one character whose trail byte is a backslash in a
// single-byte code page; 0x81 0x0A pairs a lead byte with a line feed.
TEST_F(Text, FindLastBackslash)
{
    struct Row {
        const char* label;
        bool shiftJis;
        const char* s;
        int expected;   // offset, -1 for none
    };
    const Row rows[] = {
        {"plain path", false, "C:\\docs\\a.txt", 7},
        {"root", false, "C:\\", 2},
        {"none", false, "a.txt", -1},
        {"empty", false, "", -1},
        {"trail byte counts in a single-byte code page", false, "C:\\\x95\x5C" "a", 4},
        {"trail byte is never a backslash", true, "C:\\\x95\x5C" "a", 2},
        {"real backslash after a double-byte character", true, "C:\\\x95\x5C\\a", 5},
        {"lead byte at the end stands alone", true, "C:\\\x95", 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        standin::UseDoubleByteTable(row.shiftJis);
        auto s = ExactCopy(row.s);
        const char* found = FindLastBackslash(s.get());
        EXPECT_EQ(row.expected, found != nullptr ? (int)(found - s.get()) : -1);
    }
}

TEST_F(Text, FindLineFeed)
{
    struct Row {
        const char* label;
        bool shiftJis;
        const char* s;
        int expected;
    };
    const Row rows[] = {
        {"first of two", false, "ab\ncd\n", 2},
        {"at the start", false, "\n", 0},
        {"none", false, "abc", -1},
        {"empty", false, "", -1},
        {"0x0A after a lead byte in a single-byte code page", false, "\x81\nX\n", 1},
        {"0x0A as a trail byte is never a line feed", true, "\x81\nX\n", 3},
        {"lead byte at the end stands alone", true, "ab\x81", -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        standin::UseDoubleByteTable(row.shiftJis);
        auto s = ExactCopy(row.s);
        const char* found = FindLineFeed(s.get());
        EXPECT_EQ(row.expected, found != nullptr ? (int)(found - s.get()) : -1);
    }
}

TEST_F(Text, SamePath)
{
    struct Row {
        const char* label;
        bool shiftJis;
        const char* a;
        const char* b;
        bool same;
    };
    const Row rows[] = {
        {"equal", false, "C:\\docs\\", "C:\\docs\\", true},
        {"letter case differs", false, "C:\\Docs\\", "C:\\docs\\", false},
        {"prefix of the other", false, "C:\\docs", "C:\\docs\\", false},
        {"other way round", false, "C:\\docs\\", "C:\\docs", false},
        {"both empty", false, "", "", true},
        {"double-byte equal", true, "C:\\\x95\x5C\\", "C:\\\x95\x5C\\", true},
        {"double-byte trail differs", true, "C:\\\x95\x5C\\", "C:\\\x95\x5D\\", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        standin::UseDoubleByteTable(row.shiftJis);
        auto a = ExactCopy(row.a);
        auto b = ExactCopy(row.b);
        EXPECT_EQ(row.same, SamePath(a.get(), b.get()));
    }
}

// Registry data need not end in a zero byte; the comparison must stop at the
// size the enumeration reported.
TEST_F(Text, SamePathData)
{
    struct Row {
        const char* label;
        const char* a;
        std::string data;
        bool same;
    };
    const Row rows[] = {
        {"string with its terminator", "C:\\a", std::string("C:\\a", 5), true},
        {"data without a terminator", "C:\\a", "C:\\a", true},
        {"text ends at the first zero byte", "C:\\a", std::string("C:\\a\0zz", 7), true},
        {"data shorter", "C:\\ab", "C:\\a", false},
        {"data longer", "C:\\a", "C:\\ab", false},
        {"letter case differs", "C:\\A", "C:\\a", false},
        {"empty data is the empty string", "", "", true},
        {"empty data against text", "a", "", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        std::unique_ptr<BYTE[]> data(new BYTE[row.data.size() + 1]);
        memcpy(data.get(), row.data.data(), row.data.size());
        auto a = ExactCopy(row.a);
        EXPECT_EQ(row.same, SamePathData(a.get(), data.get(), (DWORD)row.data.size()));
    }
}

// A dialog that joins its current folder to an already absolute name answers
// "C:\users\me\Desktop\\C:\docs\a.txt"; the path the user meant is the last
// absolute one in it.
TEST_F(Text, RecoverAbsolutePath)
{
    struct Row {
        const char* label;
        bool shiftJis;
        const char* path;
        const char* expected;
    };
    const Row rows[] = {
        {"drive path joined to the folder", false, "C:\\users\\me\\Desktop\\\\C:\\docs\\a.txt", "C:\\docs\\a.txt"},
        {"joined with a single backslash", false, "C:\\users\\me\\Desktop\\D:\\a.txt", "D:\\a.txt"},
        {"UNC path joined to the folder", false, "C:\\users\\me\\Desktop\\\\\\server\\share\\a.txt", "\\\\server\\share\\a.txt"},
        {"drive path joined to a UNC folder", false, "\\\\server\\share\\\\C:\\docs\\a.txt", "C:\\docs\\a.txt"},
        {"the last of two joins", false, "C:\\a\\\\D:\\b\\\\E:\\c.txt", "E:\\c.txt"},
        {"normal path", false, "C:\\docs\\a.txt", "C:\\docs\\a.txt"},
        {"root", false, "C:\\", "C:\\"},
        {"UNC path", false, "\\\\server\\share\\a.txt", "\\\\server\\share\\a.txt"},
        {"relative name", false, "a.txt", "a.txt"},
        {"drive-relative name is not absolute", false, "C:\\users\\me\\Desktop\\C:a.txt", "C:\\users\\me\\Desktop\\C:a.txt"},
        {"empty", false, "", ""},
        {"drive after a trail byte in a single-byte code page", false, "C:\\d\x95\\C:\\x.txt", "C:\\x.txt"},
        {"trail byte 0x5C is not a separator", true, "C:\\d\x95\\C:\\x.txt", "C:\\d\x95\\C:\\x.txt"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        standin::UseDoubleByteTable(row.shiftJis);
        auto path = ExactCopy(row.path);
        RecoverAbsolutePath(path.get());
        EXPECT_STREQ(row.expected, path.get());
    }
}

}  // namespace
