// The recent store: recording a chosen path and its folder in the two list
// keys of the application, against the stand-in registry. List keys are
// written and shown compactly: "*3=C" is the value named with the list's
// prefix and 3, holding the list's string for the letter C (a folder C:\C\ in
// Folders, a document C:\docs\C.txt in Files); other names stand as they are.

#include "native_test.h"

#include <climits>
#include <sstream>

#include "store.h"

namespace {

using standin::Call;

struct Side {
    const char* label;
    const char* listPath;
    const char* prefix;
    std::string (*text)(char letter);      // the string the list holds for a letter
    std::string (*path)(char letter);      // the path whose recording gives it
};

const Side kFolders = {
    "Folders", kFoldersPath, "Folder_",
    [](char c) { return std::string("C:\\") + c + "\\"; },
    [](char c) { return std::string("C:\\") + c + "\\doc.txt"; },
};
const Side kFiles = {
    "Files", kFilesPath, "File_",
    [](char c) { return std::string("C:\\docs\\") + c + ".txt"; },
    [](char c) { return std::string("C:\\docs\\") + c + ".txt"; },
};

// Seeds side's list key from "name=L ..." ("*" stands for the prefix).
void Seed(const Side& side, const std::string& contents)
{
    standin::CreateKey(side.listPath);
    std::istringstream tokens(contents);
    std::string token;
    while (tokens >> token) {
        size_t equals = token.find('=');
        std::string name = token.substr(0, equals);
        if (name[0] == '*')
            name = side.prefix + name.substr(1);
        standin::SetString(side.listPath, name, side.text(token[equals + 1]));
    }
}

// The list key in the same form as Seed takes it.
std::string Show(const Side& side)
{
    std::string out;
    for (const standin::Value& value : standin::Values(side.listPath)) {
        std::string name = value.name;
        if (name.compare(0, strlen(side.prefix), side.prefix) == 0)
            name = "*" + name.substr(strlen(side.prefix));
        std::string shown = ShowValue(value);
        std::string item = name + shown.substr(value.name.size());
        for (char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) {
            if (shown == value.name + "=" + side.text(c))
                item = name + "=" + c;
        }
        out += (out.empty() ? "" : " ") + item;
    }
    return out;
}

void ExpectList(const char* file, int line, const Side& side, const std::string& expected)
{
    ::testing::ScopedTrace trace(file, line, side.label);
    EXPECT_EQ(expected, Show(side));
}
#define EXPECT_LIST(side, expected) ExpectList(__FILE__, __LINE__, (side), (expected))

class Store : public StandinTest {
protected:
    void SetUp() override
    {
        StandinTest::SetUp();
        standin::CreateKey(kProductPath);
    }
    // Back to a product key with nothing below, between the rows of a table.
    void Restart()
    {
        EXPECT_KEYS_CLOSED();
        standin::Reset();
        standin::SetModuleFileName(kEditorModule);
        standin::CreateKey(kProductPath);
    }
    // Enumerations of the list key in the scan (before the pass asks for the
    // number of values) and in the pass.
    void CountPhase(const char* listPath, unsigned* scan, unsigned* pass)
    {
        *scan = *pass = 0;
        bool inPass = false;
        for (const standin::CallRecord& record : standin::Log()) {
            if (record.path != listPath)
                continue;
            if (record.kind == Call::QueryInfo)
                inPass = true;
            if (record.kind == Call::Enum)
                ++*(inPass ? pass : scan);
        }
    }
};

const char* const kTen = "*1=A *2=B *3=C *4=D *5=E *6=F *7=G *8=H *9=I *10=J";

// Before -> string recorded -> after, the same on both list keys.
TEST_F(Store, RecordingTable)
{
    struct Row {
        const char* label;
        const char* before;
        char recorded;
        const char* after;
    };
    const Row rows[] = {
        {"first string", "", 'A', "*1=A"},
        {"newest chosen again: nothing written", "*1=A *2=B", 'B', "*1=A *2=B"},
        {"older chosen again moves to the newest place", "*1=A *2=B *3=C *4=D *5=E", 'B', "*1=A *2=C *3=D *4=E *5=B"},
        {"oldest chosen again", "*1=A *2=B *3=C", 'A', "*1=B *2=C *3=A"},
        {"nine values and a new string add the tenth", "*1=A *2=B *3=C *4=D *5=E *6=F *7=G *8=H *9=I", 'X',
         "*1=A *2=B *3=C *4=D *5=E *6=F *7=G *8=H *9=I *10=X"},
        {"ten values and a new string drop the oldest", kTen, 'K', "*1=B *2=C *3=D *4=E *5=F *6=G *7=H *8=I *9=J *10=K"},
        {"a string of a full list chosen again", kTen, 'E', "*1=A *2=B *3=C *4=D *5=F *6=G *7=H *8=I *9=J *10=E"},
        {"gap below the threshold", "*1=A *3=C", 'X', "*1=A *3=C *4=X"},
        {"only *10, made by hand", "*10=A", 'X', "*10=X"},
        {"1, 2 and 10", "*1=A *2=B *10=J", 'X', "*1=B *2=J *10=X"},
        {"the later of two equal values is the match", "*1=A *2=B *3=A *4=C", 'A', "*1=A *2=B *3=C *4=A"},
        {"letter case makes another string", "*1=a", 'A', "*1=a *2=A"},
        {"leading zeros in a suffix", "*1=A *010=B", 'X', "*1=B *010=X"},
    };
    for (const Side* side : {&kFolders, &kFiles}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(side->label) + ": " + row.label);
            Restart();
            Seed(*side, row.before);
            RecordRecentPath(side->path(row.recorded).c_str());
            EXPECT_LIST(*side, row.after);
            if (strcmp(row.before, row.after) == 0) {
                EXPECT_EQ(0u, CallsOn(Call::Set, side->listPath));
            }
        }
    }
}

TEST_F(Store, FirstRecordingCreatesTheStore)
{
    RecordRecentPath("C:\\docs\\a.txt");
    // REG_SZ with the terminator counted, or ShowKey would show the bytes.
    EXPECT_KEY(kFoldersPath, "Folder_1=C:\\docs\\");
    EXPECT_KEY(kFilesPath, "File_1=C:\\docs\\a.txt");
    for (const standin::CallRecord& record : standin::Log()) {
        if (record.kind == Call::Open || record.kind == Call::Create) {
            EXPECT_EQ((REGSAM)(KEY_READ | KEY_WRITE), record.access) << record.path;
        }
    }

    // A second document of the same folder: the folder is the newest already.
    unsigned setsBefore = standin::CallCount(Call::Set);
    RecordRecentPath("C:\\docs\\b.txt");
    EXPECT_KEY(kFoldersPath, "Folder_1=C:\\docs\\");
    EXPECT_KEY(kFilesPath, "File_1=C:\\docs\\a.txt | File_2=C:\\docs\\b.txt");
    EXPECT_EQ(setsBefore + 1, standin::CallCount(Call::Set));
}

TEST_F(Store, FolderOfThePath)
{
    struct Row {
        const char* label;
        bool shiftJis;
        std::string path;
        std::string folder;
    };
    const std::string longest = "C:\\" + std::string(251, 'd') + "\\a.txt";   // 260 characters
    const Row rows[] = {
        {"folder of a document", false, "C:\\docs\\a.txt", "C:\\docs\\"},
        {"root of a drive keeps its backslash", false, "C:\\a.txt", "C:\\"},
        {"no backslash: the whole path", false, "a.txt", "a.txt"},
        {"UNC path", false, "\\\\server\\share\\a.txt", "\\\\server\\share\\"},
        {"trail byte 0x5C in the name is not a backslash", true, "C:\\docs\\\x95\x5C.txt", "C:\\docs\\"},
        {"folder whose name ends in a trail byte 0x5C", true, "C:\\\x95\x5C\\a.txt", "C:\\\x95\x5C\\"},
        {"the same bytes in a single-byte code page", false, "C:\\docs\\\x95\x5C.txt", "C:\\docs\\\x95\\"},
        {"path of 260 characters", false, longest, "C:\\" + std::string(251, 'd') + "\\"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Restart();
        standin::UseDoubleByteTable(row.shiftJis);
        auto path = ExactCopy(row.path);
        RecordRecentPath(path.get());
        EXPECT_KEY(kFoldersPath, "Folder_1=" + row.folder);
        EXPECT_KEY(kFilesPath, "File_1=" + row.path);
    }
}

// Each level of the key path failing: what is opened, created and recorded,
// and every key that was opened is closed again.
TEST_F(Store, FailuresAtEachLevel)
{
    struct Row {
        const char* label;
        void (*inject)();
        unsigned opens;             // RegOpenKeyExA calls made
        unsigned creates;           // RegCreateKeyExA calls made
        const char* folders;        // Folders afterwards
        const char* files;          // Files afterwards
    };
    const char* recorded = "Folder_1=C:\\docs\\";
    const char* none = "(no key)";
    const Row rows[] = {
        {"no module file name", [] { standin::SetModuleFileName(nullptr); }, 0, 0, none, none},
        {"no software key", [] { standin::DeleteKey(kSoftwarePath); }, 1, 0, none, none},
        {"no company key", [] { standin::DeleteKey(kCompanyPath); }, 2, 0, none, none},
        {"no product key", [] { standin::DeleteKey(kProductPath); }, 3, 0, none, none},
        {"software cannot be opened", [] { standin::Faults(kSoftwarePath).openFails = ERROR_ACCESS_DENIED; }, 1, 0, none, none},
        {"company key cannot be opened", [] { standin::Faults(kCompanyPath).openFails = ERROR_ACCESS_DENIED; }, 2, 0, none, none},
        {"product key cannot be opened", [] { standin::Faults(kProductPath).openFails = ERROR_ACCESS_DENIED; }, 3, 0, none, none},
        {"product key read-only", [] { standin::Faults(kProductPath).readOnly = true; }, 3, 0, none, none},
        {"Data cannot be created", [] { standin::Faults(kDataPath).createFails = ERROR_ACCESS_DENIED; }, 3, 1, none, none},
        {"application key cannot be created", [] { standin::Faults(kEditorPath).createFails = ERROR_ACCESS_DENIED; }, 3, 2, none, none},
        {"Folders cannot be created", [] { standin::Faults(kFoldersPath).createFails = ERROR_ACCESS_DENIED; }, 3, 4, none,
         "File_1=C:\\docs\\a.txt"},
        {"Files cannot be created", [] { standin::Faults(kFilesPath).createFails = ERROR_ACCESS_DENIED; }, 3, 4, recorded, none},
        {"Folders enumeration fails", [] {
             standin::Faults(kFoldersPath).enumFails = ERROR_KEY_DELETED;
             standin::Faults(kFoldersPath).enumFailIndex = 0;
         }, 3, 4, "", "File_1=C:\\docs\\a.txt"},
        {"Folders cannot be written", [] { standin::Faults(kFoldersPath).setFails = ERROR_ACCESS_DENIED; }, 3, 4, "",
         "File_1=C:\\docs\\a.txt"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Restart();
        row.inject();
        std::string before = standin::Snapshot();
        RecordRecentPath("C:\\docs\\a.txt");
        EXPECT_EQ(row.opens, standin::CallCount(Call::Open));
        EXPECT_EQ(row.creates, standin::CallCount(Call::Create));
        EXPECT_KEY(kFoldersPath, row.folders);
        EXPECT_KEY(kFilesPath, row.files);
        if (row.creates == 0) {
            EXPECT_EQ(before, standin::Snapshot());
        }
    }
}

// A write that fails is passed over; the rest of the pass is made.
TEST_F(Store, FailedWriteInThePass)
{
    Seed(kFolders, kTen);
    standin::FailNthCall(Call::Set, 3, ERROR_ACCESS_DENIED);
    RecordRecentPath(kFolders.path('K').c_str());
    EXPECT_LIST(kFolders, "*1=B *2=C *3=C *4=E *5=F *6=G *7=H *8=I *9=J *10=K");
}

// When the pass cannot read the number of values it still moves every
// value, up to the tenth position.
TEST_F(Store, PassWithoutTheNumberOfValues)
{
    Seed(kFolders, kTen);
    standin::Faults(kFoldersPath).queryInfoFails = ERROR_ACCESS_DENIED;
    RecordRecentPath(kFolders.path('K').c_str());
    EXPECT_LIST(kFolders, "*1=B *2=C *3=D *4=E *5=F *6=G *7=H *8=I *9=J *10=K");
}

TEST_F(Store, ReadNameSuffix)
{
    struct Row {
        const char* name;
        int prefixLength;
        int suffix;
    };
    const Row rows[] = {
        {"Folder_12", 7, 12},                       // regular
        {"Folder_007", 7, 7},                       // leading zeros
        {"Folder_12abc", 7, 12},                    // digits up to the first other character
        {"Folder_x", 7, 0},                         // no digit
        {"Folder_-4", 7, -4},                       // sign
        {"Folder_+4", 7, 4},                        // plus sign
        {"Folder_+-4", 7, 0},                       // one sign only
        {"Folder_ \t\n\v\f\r5", 7, 5},              // leading white space
        {"Folder_- 5", 7, 0},                       // white space after the sign
        {"MyValue99", 7, 99},                       // the first characters are not checked
        {"Folder_", 7, 0},                          // as long as the prefix
        {"Fold", 7, 0},                             // shorter than the prefix
        {"", 7, 0},                                 // empty
        {"File_3", 5, 3},                           // documents prefix
        {"Folder_3", 5, 0},                         // "r_3" after five characters
        {"Folder_2147483647", 7, INT_MAX},          // largest
        {"Folder_2147483648", 7, INT_MAX},          // saturates
        {"Folder_99999999999999999999999", 7, INT_MAX},
        {"Folder_-2147483648", 7, INT_MIN},         // smallest
        {"Folder_-2147483649", 7, INT_MIN},         // saturates
        {"Folder_-99999999999999999999999", 7, INT_MIN},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto name = ExactCopy(row.name);
        EXPECT_EQ(row.suffix, ReadNameSuffix(name.get(), row.prefixLength));
    }
}

// Hand-edited names take part by the number after the prefix's length.
TEST_F(Store, HandEditedNames)
{
    struct Row {
        const char* label;
        const char* before;
        char recorded;
        const char* after;
    };
    const Row rows[] = {
        {"Folder_x counts 0", "*x=A", 'X', "*x=A *1=X"},
        {"Folder_-4 never raises the largest suffix", "*-4=A", 'X', "*-4=A *1=X"},
        {"MyValue99 rotates: the string replaces its data", "MyValue99=A", 'X', "MyValue99=X"},
        {"Folder_12abc counts 12", "*1=A *12abc=B", 'X', "*1=B *12abc=X"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Restart();
        Seed(kFolders, row.before);
        RecordRecentPath(kFolders.path(row.recorded).c_str());
        EXPECT_LIST(kFolders, row.after);
    }

    // Data of another type takes part with its bytes, and a pass moves them
    // as REG_SZ, byte for byte.
    Restart();
    Seed(kFolders, "*1=A *10=C");
    standin::SetValue(kFoldersPath, "Folder_10", REG_BINARY, "C:\\C\\", 5);
    RecordRecentPath(kFolders.path('C').c_str());
    EXPECT_LIST(kFolders, "*1=A *10=<type 3: 43 3a 5c 43 5c>");
    EXPECT_EQ(0u, CallsOn(Call::Set, kFoldersPath));
    RecordRecentPath(kFolders.path('X').c_str());
    EXPECT_KEY(kFoldersPath, "Folder_1=<type 1: 43 3a 5c 43 5c> | Folder_10=C:\\X\\");
}

TEST_F(Store, ApplicationName)
{
    struct Row {
        const char* label;
        bool shiftJis;
        const char* module;
        const char* name;
    };
    const Row rows[] = {
        {"file name after the last backslash", false, "C:\\Tools\\editor.exe", "editor.exe"},
        {"no backslash", false, "editor.exe", "editor.exe"},
        {"letter case kept", false, "C:\\Tools\\Editor.EXE", "Editor.EXE"},
        {"trail byte 0x5C is not a backslash", true, "C:\\Tools\\\x95\x5C.exe", "\x95\x5C.exe"},
        {"the same bytes in a single-byte code page", false, "C:\\Tools\\\x95\x5C.exe", ".exe"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        standin::UseDoubleByteTable(row.shiftJis);
        auto module = ExactCopy(row.module);
        EXPECT_STREQ(row.name, ApplicationNameOf(module.get()));
    }

    // The key is named by it, a double-byte name as one level.
    standin::UseDoubleByteTable(true);
    standin::SetModuleFileName("C:\\Tools\\\x95\x5C.exe");
    RecordRecentPath("C:\\docs\\a.txt");
    EXPECT_KEY(std::string(kDataPath) + "\\\x95\x5C.exe\\Files", "File_1=C:\\docs\\a.txt");
    standin::UseDoubleByteTable(false);

    // Executables of one file name share a key, also in another letter case.
    Restart();
    standin::SetModuleFileName("C:\\One\\editor.exe");
    RecordRecentPath("C:\\docs\\a.txt");
    standin::SetModuleFileName("D:\\Two\\EDITOR.EXE");
    RecordRecentPath("C:\\docs\\b.txt");
    EXPECT_KEY(kFilesPath, "File_1=C:\\docs\\a.txt | File_2=C:\\docs\\b.txt");
}

// A module file name that fills the buffer comes without its terminator on
// older systems.
TEST_F(Store, LongModuleFileName)
{
    standin::SetModuleFileName(("C:\\" + std::string(300, 'm')).c_str());
    char path[kPathChars];
    ASSERT_TRUE(GetModulePath(path));
    EXPECT_EQ(260u, strlen(path));
    EXPECT_STREQ(std::string(257, 'm').c_str(), ApplicationNameOf(path));
}

// Enumeration results other than success and the end: a value that does not
// fit holds its position but takes no part; any other failure abandons the
// phase without writing.
TEST_F(Store, ValuesThatDoNotFit)
{
    const std::string longName = "Recent_99" + std::string(55, 'n');     // 64 characters
    const std::string bigData(299, 'B');

    // The 64-character name's suffix (99) would rotate, its data (B) would match.
    Seed(kFolders, "*1=A");
    standin::SetString(kFoldersPath, longName, kFolders.text('B'));
    Seed(kFolders, "*2=C");
    RecordRecentPath(kFolders.path('B').c_str());
    EXPECT_LIST(kFolders, "*1=A " + longName + "=B *2=C *3=B");

    // Data over 261 bytes: no part in the match, and the name it does not
    // count is taken by the next string.
    Restart();
    Seed(kFolders, "*1=A");
    standin::SetString(kFoldersPath, "Folder_2", bigData);
    RecordRecentPath(kFolders.path('X').c_str());
    EXPECT_LIST(kFolders, "*1=A *2=X");

    // In the pass such a value is stepped over: nothing is written for it.
    Restart();
    Seed(kFolders, kTen);
    standin::SetString(kFoldersPath, "Folder_5", bigData);
    RecordRecentPath(kFolders.path('K').c_str());
    EXPECT_LIST(kFolders, "*1=B *2=C *3=D *4=D *5=F *6=G *7=H *8=I *9=J *10=K");

    // ... and its name never becomes the one the string is written under.
    Restart();
    Seed(kFolders, "*1=A *10=B");
    standin::SetString(kFoldersPath, longName, kFolders.text('C'));
    RecordRecentPath(kFolders.path('X').c_str());
    EXPECT_LIST(kFolders, "*1=B *10=X " + longName + "=C");

    // Nothing could be moved (the pass's first enumeration fails) and the
    // start value's name does not fit either: the string goes under the
    // regular name of the start position.
    Restart();
    standin::SetString(kFoldersPath, longName, kFolders.text('A'));
    Seed(kFolders, "*10=B");
    standin::FailNthCall(Call::Enum, 3 + 1, ERROR_KEY_DELETED);
    RecordRecentPath(kFolders.path('X').c_str());
    EXPECT_LIST(kFolders, longName + "=A *10=B *1=X");

    // Another failure in the scan: the phase writes nothing, the documents
    // phase runs all the same.
    Restart();
    Seed(kFolders, "*1=A *2=B *3=C");
    standin::Faults(kFoldersPath).enumFails = ERROR_KEY_DELETED;
    standin::Faults(kFoldersPath).enumFailIndex = 1;
    RecordRecentPath(kFolders.path('X').c_str());
    EXPECT_LIST(kFolders, "*1=A *2=B *3=C");
    EXPECT_EQ(0u, CallsOn(Call::Set, kFoldersPath));
    EXPECT_EQ(2u, CallsOn(Call::Enum, kFoldersPath));
    EXPECT_KEY(kFilesPath, "File_1=C:\\X\\doc.txt");

    // Another failure in the pass ends it; the string goes under the name of
    // the last value moved. The scan makes 11 enumerations; fail the pass's
    // fourth (position 4).
    Restart();
    Seed(kFolders, kTen);
    standin::FailNthCall(Call::Enum, 11 + 4, ERROR_KEY_DELETED);
    RecordRecentPath(kFolders.path('K').c_str());
    EXPECT_LIST(kFolders, "*1=B *2=C *3=D *4=K *5=E *6=F *7=G *8=H *9=I *10=J");
}

// Nine values named otherwise and Folder_10: every name the pass makes is new
// and adds a value at the end, which an unbounded pass would reach and copy
// again for ever. The pass stops at the positions it counted and at the ten
// regular names, so the first recording adds Folder_1 to Folder_9 once and
// later recordings rewrite them in place.
TEST_F(Store, NineOtherNamesThenFolder10)
{
    Seed(kFolders, "Old_1=A Old_2=B Old_3=C Old_4=D Old_5=E Old_6=F Old_7=G Old_8=H Old_9=I *10=J");
    const char* const old = "Old_1=A Old_2=B Old_3=C Old_4=D Old_5=E Old_6=F Old_7=G Old_8=H Old_9=I ";

    RecordRecentPath(kFolders.path('X').c_str());
    EXPECT_LIST(kFolders, std::string(old) + "*10=X *1=B *2=C *3=D *4=E *5=F *6=G *7=H *8=I *9=J");

    RecordRecentPath(kFolders.path('Y').c_str());
    EXPECT_LIST(kFolders, std::string(old) + "*10=B *1=Y *2=C *3=D *4=E *5=F *6=G *7=H *8=I *9=X");

    RecordRecentPath(kFolders.path('Z').c_str());
    EXPECT_LIST(kFolders, std::string(old) + "*10=B *1=Z *2=C *3=D *4=E *5=F *6=G *7=H *8=I *9=B");
    EXPECT_EQ(19u, standin::Values(kFoldersPath).size());
}

// Another process changes the list key between the scan and the pass.
TEST_F(Store, KeyChangedBetweenScanAndPass)
{
    struct Row {
        const char* label;
        const char* before;
        char recorded;
        void (*change)(const standin::CallRecord& call);
        const char* after;
    };
    const Row rows[] = {
        {"emptied before the pass: the string goes under the first name", kTen, 'K',
         [](const standin::CallRecord& call) {
             if (call.kind == Call::QueryInfo)
                 for (int i = 1; i <= 10; ++i)
                     standin::DeleteValue(kFoldersPath, "Folder_" + std::to_string(i));
         },
         "*1=K"},
        {"start position gone: the string goes under its regular name", "*1=A *2=B *3=C *4=D *5=E", 'C',
         [](const standin::CallRecord& call) {
             if (call.kind == Call::QueryInfo)
                 for (int i = 3; i <= 5; ++i)
                     standin::DeleteValue(kFoldersPath, "Folder_" + std::to_string(i));
         },
         "*1=A *2=B *3=C"},
        {"later values deleted during the pass: it ends at the last one moved", kTen, 'K',
         [](const standin::CallRecord& call) {
             if (call.kind == Call::Set && call.name == "Folder_2")
                 for (int i = 4; i <= 10; ++i)
                     standin::DeleteValue(kFoldersPath, "Folder_" + std::to_string(i));
         },
         "*1=B *2=C *3=K"},
        {"a value added during the pass is not reached", "*1=A *2=B *3=C", 'A',
         [](const standin::CallRecord& call) {
             if (call.kind == Call::Set && call.name == "Folder_1")
                 standin::SetString(kFoldersPath, "Folder_4", "C:\\D\\");
         },
         "*1=B *2=C *3=A *4=D"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Restart();
        Seed(kFolders, row.before);
        auto change = row.change;
        standin::OnCall([change](const standin::CallRecord& call) {
            if (call.path == kFoldersPath)
                change(call);
        });
        RecordRecentPath(kFolders.path(row.recorded).c_str());
        standin::OnCall(nullptr);
        EXPECT_LIST(kFolders, row.after);
    }
}

// With ten values a phase makes eleven enumerations in its scan, at most ten
// more in its pass and at most ten writes.
TEST_F(Store, CallsOnAFullList)
{
    struct Row {
        const char* label;
        char recorded;
    };
    const Row rows[] = {
        {"new string", 'K'},
        {"oldest chosen again", 'A'},
        {"middle chosen again", 'E'},
        {"newest chosen again", 'J'},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Restart();
        Seed(kFolders, kTen);
        RecordRecentPath(kFolders.path(row.recorded).c_str());
        unsigned scan, pass;
        CountPhase(kFoldersPath, &scan, &pass);
        EXPECT_EQ(11u, scan);
        EXPECT_LE(pass, 10u);
        EXPECT_LE(CallsOn(Call::Set, kFoldersPath), 10u);
        EXPECT_EQ(10u, standin::Values(kFoldersPath).size());
    }
}

}  // namespace
