// The recent lists: loading both from the application key, clearing one, and
// finding the entry a command id names. Lists are shown with their line feeds
// as "\n" text, and "(null)" for an empty list.

#include "native_test.h"

#include <algorithm>

#include "commands.h"
#include "lists.h"
#include "store.h"

namespace {

using standin::Call;

std::string ShowList(const char* list)
{
    return list != nullptr ? list : "(null)";
}

// A list as the library would hold it, on the heap it frees lists to.
char* MakeList(const std::string& text)
{
    char* list = (char*)HeapAlloc(GetProcessHeap(), 0, text.size() + 1);
    memcpy(list, text.c_str(), text.size() + 1);
    return list;
}

class Lists : public StandinTest {
protected:
    void TearDown() override
    {
        ReleaseList(&g_recentDocuments);
        ReleaseList(&g_recentFolders);
        EXPECT_EQ(0, standin::LiveAllocations());
        StandinTest::TearDown();
    }
    void Restart()
    {
        ReleaseList(&g_recentDocuments);
        ReleaseList(&g_recentFolders);
        EXPECT_EQ(0, standin::LiveAllocations());
        EXPECT_KEYS_CLOSED();
        standin::Reset();
        standin::SetModuleFileName(kEditorModule);
    }
    void SetLists(const char* documents, const char* folders)
    {
        ReleaseList(&g_recentDocuments);
        ReleaseList(&g_recentFolders);
        g_recentDocuments = MakeList(documents);
        g_recentFolders = MakeList(folders);
    }
};

void ExpectLists(const char* file, int line, const char* folders, const char* documents)
{
    ::testing::ScopedTrace trace(file, line, "lists");
    EXPECT_EQ(folders, ShowList(g_recentFolders));
    EXPECT_EQ(documents, ShowList(g_recentDocuments));
}
#define EXPECT_LISTS(folders, documents) ExpectLists(__FILE__, __LINE__, (folders), (documents))

// Both lists hold something stale before every row: loading replaces both.
TEST_F(Lists, Loading)
{
    struct Row {
        const char* label;
        void (*seed)();
        std::string folders;
        const char* documents;
    };
    const Row rows[] = {
        {"three values, newest created last",
         [] {
             for (const char* path : {"A", "B", "C"})
                 standin::SetString(kFoldersPath, std::string("Folder_") + path, path);
         },
         "C\nB\nA\n", "(null)"},
        {"list key without values gives null",
         [] { standin::CreateKey(kFoldersPath); },
         "(null)", "(null)"},
        {"Files without Folders",
         [] { standin::SetString(kFilesPath, "File_1", "X"); },
         "(null)", "X\n"},
        {"empty string gives a lone line feed",
         [] { standin::SetString(kFoldersPath, "Folder_1", ""); },
         "\n", "(null)"},
        {"value holding a line feed gives two entries",
         [] { standin::SetString(kFoldersPath, "Folder_1", "a\nb"); },
         "a\nb\n", "(null)"},
        {"names and types of other forms load like the others",
         [] {
             standin::SetString(kFoldersPath, "MyValue", "p");
             standin::SetValue(kFoldersPath, "Folder_1", REG_DWORD, "AB\0\0", 4);
             standin::SetValue(kFoldersPath, "x", REG_BINARY, "xyz", 3);   // no terminator
         },
         "xyz\nAB\np\n", "(null)"},
        {"name of 64 characters is skipped",
         [] {
             standin::SetString(kFoldersPath, "Folder_1", "A");
             standin::SetString(kFoldersPath, std::string(64, 'n'), "B");
             standin::SetString(kFoldersPath, "Folder_2", "C");
         },
         "C\nA\n", "(null)"},
        {"data of 262 bytes is skipped, 261 loaded",
         [] {
             standin::SetString(kFoldersPath, "Folder_1", std::string(260, 'a'));
             standin::SetString(kFoldersPath, "Folder_2", std::string(261, 'b'));
         },
         std::string(260, 'a') + "\n", "(null)"},
        {"another enumeration failure skips that index",
         [] {
             for (const char* path : {"A", "B", "C"})
                 standin::SetString(kFoldersPath, std::string("Folder_") + path, path);
             standin::Faults(kFoldersPath).enumFails = ERROR_KEY_DELETED;
             standin::Faults(kFoldersPath).enumFailIndex = 1;
         },
         "C\nA\n", "(null)"},
        {"list keys are opened read-only",
         [] {
             standin::SetString(kFoldersPath, "Folder_1", "A");
             standin::Faults(kFoldersPath).readOnly = true;
         },
         "A\n", "(null)"},
        {"Folders cannot be opened: Files loaded all the same",
         [] {
             standin::SetString(kFoldersPath, "Folder_1", "A");
             standin::SetString(kFilesPath, "File_1", "X");
             standin::Faults(kFoldersPath).openFails = ERROR_ACCESS_DENIED;
         },
         "(null)", "X\n"},
        {"number of values unreadable",
         [] {
             standin::SetString(kFoldersPath, "Folder_1", "A");
             standin::SetString(kFilesPath, "File_1", "X");
             standin::Faults(kFoldersPath).queryInfoFails = ERROR_ACCESS_DENIED;
         },
         "(null)", "X\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Restart();
        standin::CreateKey(kEditorPath);
        row.seed();
        SetLists("stale document\n", "stale folder\n");
        std::string before = standin::Snapshot();
        LoadRecentLists();
        EXPECT_LISTS(row.folders.c_str(), row.documents);
        EXPECT_EQ(before, standin::Snapshot());
        EXPECT_EQ(0u, standin::CallCount(Call::Create));
    }
}

// Without an application key that opens read-write, loading and clearing
// leave both lists as they were and create nothing.
TEST_F(Lists, NoApplicationKey)
{
    struct Row {
        const char* label;
        void (*seed)();
    };
    const Row rows[] = {
        {"no module file name", [] { standin::SetModuleFileName(nullptr); }},
        {"no product key", [] { standin::CreateKey(kCompanyPath); }},
        {"no Data key", [] { standin::CreateKey(kProductPath); }},
        {"no application key", [] { standin::CreateKey(kDataPath); }},
        {"application key of another program", [] { standin::SetString(std::string(kDataPath) + "\\other.exe\\Files", "File_1", "X"); }},
        {"product key read-only", [] {
             standin::SetString(kFoldersPath, "Folder_1", "A");
             standin::Faults(kProductPath).readOnly = true;
         }},
        {"application key cannot be opened", [] {
             standin::SetString(kFoldersPath, "Folder_1", "A");
             standin::Faults(kEditorPath).openFails = ERROR_ACCESS_DENIED;
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Restart();
        row.seed();
        SetLists("doc\n", "folder\n");
        char* documents = g_recentDocuments;
        char* folders = g_recentFolders;
        std::string before = standin::Snapshot();
        LoadRecentLists();
        ClearRecentList(kClearFolders);
        ClearRecentList(kClearDocuments);
        EXPECT_EQ(documents, g_recentDocuments);
        EXPECT_EQ(folders, g_recentFolders);
        EXPECT_LISTS("folder\n", "doc\n");
        EXPECT_EQ(before, standin::Snapshot());
        EXPECT_EQ(0u, standin::CallCount(Call::Create));
        for (const standin::CallRecord& record : standin::Log()) {
            if (record.kind == Call::Open) {
                EXPECT_EQ((REGSAM)(KEY_READ | KEY_WRITE), record.access) << record.path;
            }
        }
    }
}

TEST_F(Lists, AllocationFailureSkipsOnlyThatValue)
{
    for (const char* path : {"A", "B", "C"})
        standin::SetString(kFoldersPath, std::string("Folder_") + path, path);
    standin::SetString(kFilesPath, "File_1", "X");
    standin::FailNthAllocation(2);      // the block for B
    LoadRecentLists();
    EXPECT_LISTS("C\nA\n", "X\n");
}

TEST_F(Lists, LoadingStopsAtFiftyEntries)
{
    for (int i = 0; i < 60; ++i) {
        char text[8];
        snprintf(text, sizeof text, "e%02d", i);
        standin::SetString(kFoldersPath, "Folder_" + std::to_string(i + 1), text);
    }
    LoadRecentLists();
    ASSERT_NE(nullptr, g_recentFolders);
    std::string list = g_recentFolders;
    EXPECT_EQ(50, std::count(list.begin(), list.end(), '\n'));
    EXPECT_EQ(0u, list.find("e59\n"));
    EXPECT_EQ(list.size() - 4, list.find("e10\n"));
    // Enumerations stop with the fiftieth entry too.
    EXPECT_EQ(50u, CallsOn(Call::Enum, kFoldersPath));

    char entry[kPathChars];
    EXPECT_TRUE(FindListEntry(g_recentFolders, kFoldersBase, kFoldersBase + 49, entry));
    EXPECT_STREQ("e10", entry);
    EXPECT_FALSE(FindListEntry(g_recentFolders, kFoldersBase, kClearDocuments, entry));
}

TEST_F(Lists, FindListEntry)
{
    std::string sixty;
    for (int i = 0; i < 60; ++i)
        sixty += "d" + std::to_string(i) + "\n";
    const std::string entry260(260, 'p');
    const std::string entry261(261, 'q');
    struct Row {
        const char* label;
        bool shiftJis;
        const char* list;       // null for a null list
        unsigned base;
        unsigned id;
        const char* entry;      // null when the id names nothing
    };
    const std::string fits = entry260 + "\n";
    const std::string tooLong = "a\n" + entry261 + "\n";
    const Row rows[] = {
        {"base id finds the first entry", false, "X\nY\n", kDocumentsBase, 33101, "X"},
        {"next id finds the second", false, "X\nY\n", kDocumentsBase, 33102, "Y"},
        {"past the end of the list", false, "X\nY\n", kDocumentsBase, 33103, nullptr},
        {"last id of the range, short list", false, "X\nY\n", kDocumentsBase, 33150, nullptr},
        {"folders id against the documents base", false, "X\nY\n", kDocumentsBase, 33151, nullptr},
        {"below the base", false, "X\nY\n", kDocumentsBase, 33100, nullptr},
        {"folders base", false, "F\nG\n", kFoldersBase, 33152, "G"},
        {"documents id against the folders base", false, "F\nG\n", kFoldersBase, 33101, nullptr},
        {"clear item against the folders base", false, "F\nG\n", kFoldersBase, 33201, nullptr},
        {"null list", false, nullptr, kDocumentsBase, 33101, nullptr},
        {"empty list", false, "", kDocumentsBase, 33101, nullptr},
        {"text after the last line feed is no entry", false, "X\nY", kDocumentsBase, 33102, nullptr},
        {"empty entry", false, "\nY\n", kDocumentsBase, 33101, ""},
        {"entry of 260 bytes", false, fits.c_str(), kDocumentsBase, 33101, entry260.c_str()},
        {"entry of 261 bytes names nothing", false, tooLong.c_str(), kDocumentsBase, 33102, nullptr},
        {"fiftieth entry", false, sixty.c_str(), kDocumentsBase, 33150, "d49"},
        {"fifty-first entry has no documents id", false, sixty.c_str(), kDocumentsBase, 33151, nullptr},
        {"0x0A as a trail byte", true, "\x81\nA\nB\n", kDocumentsBase, 33102, "B"},
        {"0x0A after a lead byte in a single-byte code page", false, "\x81\nA\nB\n", kDocumentsBase, 33102, "A"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        standin::UseDoubleByteTable(row.shiftJis);
        std::unique_ptr<char[]> list = row.list != nullptr ? ExactCopy(row.list) : nullptr;
        std::unique_ptr<char[]> entry(new char[kPathChars]);
        bool found = FindListEntry(list.get(), row.base, row.id, entry.get());
        EXPECT_EQ(row.entry != nullptr, found);
        if (row.entry != nullptr && found) {
            EXPECT_STREQ(row.entry, entry.get());
        }
        if (row.list != nullptr) {
            EXPECT_STREQ(row.list, list.get());
        }
    }
}

// Clearing one list empties it in memory and in the registry and leaves the
// other alone.
TEST_F(Lists, ClearingOneList)
{
    struct Row {
        unsigned id;
        const char* clearedPath;
        const char* keptPath;
        const char* keptKey;
        const char* folders;
        const char* documents;
    };
    const Row rows[] = {
        {kClearFolders, kFoldersPath, kFilesPath, "File_1=X | File_2=Y", "(null)", "Y\nX\n"},
        {kClearDocuments, kFilesPath, kFoldersPath, "Folder_A=A | Folder_B=B | Folder_C=C", "C\nB\nA\n", "(null)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.clearedPath);
        Restart();
        for (const char* path : {"A", "B", "C"})
            standin::SetString(kFoldersPath, std::string("Folder_") + path, path);
        standin::SetString(kFilesPath, "File_1", "X");
        standin::SetString(kFilesPath, "File_2", "Y");
        LoadRecentLists();
        ClearRecentList(row.id);
        EXPECT_LISTS(row.folders, row.documents);
        EXPECT_KEY(row.clearedPath, "");
        EXPECT_KEY(row.keptPath, row.keptKey);
        EXPECT_EQ(1u, CallsOn(Call::Open, row.keptPath));   // the loading's open only
    }
}

// Clearing must end even when a value stays at index 0; the list is released
// whatever the registry does.
TEST_F(Lists, ClearingThatCannotComplete)
{
    struct Row {
        const char* label;
        void (*seed)();
        std::string after;      // Folders afterwards
    };
    const Row rows[] = {
        {"value that cannot be deleted",
         [] {
             standin::SetString(kFoldersPath, "Folder_1", "A");
             standin::SetString(kFoldersPath, "Folder_2", "B");
             standin::Faults(kFoldersPath).deleteFails = ERROR_ACCESS_DENIED;
         },
         "Folder_1=A | Folder_2=B"},
        {"name of 64 characters at index 0",
         [] {
             standin::SetString(kFoldersPath, std::string(64, 'n'), "A");
             standin::SetString(kFoldersPath, "Folder_1", "B");
         },
         std::string(64, 'n') + "=A | Folder_1=B"},
        {"enumeration failing after the first deletion",
         [] {
             for (const char* path : {"A", "B", "C"})
                 standin::SetString(kFoldersPath, std::string("Folder_") + path, path);
             standin::FailNthCall(Call::Enum, 2, ERROR_KEY_DELETED);
         },
         "Folder_B=B | Folder_C=C"},
        {"Folders missing: nothing created", [] { standin::SetString(kFilesPath, "File_1", "X"); }, "(no key)"},
        {"Folders read-only: cleared with write access only", [] {
             standin::SetString(kFoldersPath, "Folder_1", "A");
             standin::Faults(kFoldersPath).readOnly = true;
         },
         "Folder_1=A"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Restart();
        standin::CreateKey(kEditorPath);
        SetLists("doc\n", "folder\n");
        row.seed();
        ClearRecentList(kClearFolders);
        EXPECT_LISTS("(null)", "doc\n");
        EXPECT_KEY(kFoldersPath, row.after);
        EXPECT_LE(CallsOn(Call::Enum, kFoldersPath), 2u);
        EXPECT_EQ(0u, standin::CallCount(Call::Create));
    }
}

TEST_F(Lists, OtherIdsClearNothing)
{
    standin::SetString(kFoldersPath, "Folder_1", "A");
    standin::SetString(kFilesPath, "File_1", "X");
    LoadRecentLists();
    for (unsigned id : {0u, kDocumentsButton, kFoldersButton, kDocumentsBase, kFoldersBase, 33203u}) {
        SCOPED_TRACE(id);
        ClearRecentList(id);
        EXPECT_LISTS("A\n", "X\n");
        EXPECT_KEY(kFoldersPath, "Folder_1=A");
        EXPECT_KEY(kFilesPath, "File_1=X");
    }
}

}  // namespace
