// The platform class, from the version record the stand-in's GetVersionExA
// answers with, and the toolbar constants of each class.

#include "native_test.h"

#include "platform.h"

namespace {

class Platform : public StandinTest {};

TEST_F(Platform, ClassOfEachRelease)
{
    struct Row {
        const char* label;
        DWORD platformId;
        DWORD major;
        DWORD minor;
        const char* servicePack;
        unsigned platformClass;
    };
    const Row rows[] = {
        {"95", VER_PLATFORM_WIN32_WINDOWS, 4, 0, "", 0},
        {"95 OSR2 B", VER_PLATFORM_WIN32_WINDOWS, 4, 0, " B", 0},
        {"95 OSR2 C", VER_PLATFORM_WIN32_WINDOWS, 4, 0, " C", 1},
        {"letter in the first place does not count", VER_PLATFORM_WIN32_WINDOWS, 4, 0, "C", 0},
        {"98, empty service pack string", VER_PLATFORM_WIN32_WINDOWS, 4, 10, "", 2},
        {"98 with another letter", VER_PLATFORM_WIN32_WINDOWS, 4, 10, " B", 2},
        {"98 Second Edition", VER_PLATFORM_WIN32_WINDOWS, 4, 10, " A", 3},
        {"Me", VER_PLATFORM_WIN32_WINDOWS, 4, 90, "", 4},
        {"unknown 4.x of the 9x line", VER_PLATFORM_WIN32_WINDOWS, 4, 20, " A", 0},
        {"9x line with another major version", VER_PLATFORM_WIN32_WINDOWS, 5, 0, " C", 0},
        {"NT 3.51", VER_PLATFORM_WIN32_NT, 3, 51, "", 5},
        {"NT 3.50", VER_PLATFORM_WIN32_NT, 3, 50, "", 0},
        {"NT 3.10", VER_PLATFORM_WIN32_NT, 3, 10, "", 0},
        {"NT 4.0", VER_PLATFORM_WIN32_NT, 4, 0, " C", 6},
        {"2000", VER_PLATFORM_WIN32_NT, 5, 0, "", 7},
        {"XP", VER_PLATFORM_WIN32_NT, 5, 1, "Service Pack 3", 8},
        {"Server 2003", VER_PLATFORM_WIN32_NT, 5, 2, "", 0},
        {"Vista", VER_PLATFORM_WIN32_NT, 6, 0, "", 0},
        {"7", VER_PLATFORM_WIN32_NT, 6, 1, "", 0},
        {"10", VER_PLATFORM_WIN32_NT, 10, 0, "", 0},
        {"platform id 0 like NT: 4.0", VER_PLATFORM_WIN32s, 4, 0, " C", 6},
        {"platform id 0 like NT: 5.1", VER_PLATFORM_WIN32s, 5, 1, "", 8},
        {"platform id 0 like NT: 4.10", VER_PLATFORM_WIN32s, 4, 10, " A", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        standin::SetVersion(row.platformId, row.major, row.minor, row.servicePack);
        g_platformClass = 99;
        ClassifyPlatform();
        EXPECT_EQ(row.platformClass, g_platformClass);
        EXPECT_TRUE(standin::VersionRecordWasClean());
    }
}

TEST_F(Platform, FailedVersionQueryGivesClassZero)
{
    standin::FailVersion();
    g_platformClass = 8;
    ClassifyPlatform();
    EXPECT_EQ(0u, g_platformClass);
    EXPECT_TRUE(standin::VersionRecordWasClean());
}

TEST_F(Platform, ConstantsOfEachClass)
{
    struct Row {
        unsigned platformClass;
        int toolbarId;
        int documentsImage;
        int foldersImage;
        int toolbarWidth;
    };
    const Row rows[] = {
        {0, 1, 0, 11, 230},     // 95, and every release no class names
        {1, 1, 0, 11, 230},     // 95 OSR2 C
        {2, 1, 0, 11, 230},     // 98
        {3, 1, 0, 11, 220},     // 98 Second Edition
        {4, 1, 0, 11, 220},     // Me
        {5, 1, 0, 11, 230},     // NT 3.51
        {6, 1, 0, 11, 230},     // NT 4.0
        {7, 1, 16, 15, 167},    // 2000
        {8, 1088, 16, 15, 180}, // XP
        {9, 1, 0, 11, 230},     // out of range: taken as 0
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.platformClass);
        g_platformClass = row.platformClass;
        const PlatformConstants& constants = CurrentPlatform();
        EXPECT_EQ(row.toolbarId, constants.toolbarId);
        EXPECT_EQ(row.documentsImage, constants.documentsImage);
        EXPECT_EQ(row.foldersImage, constants.foldersImage);
        EXPECT_EQ(row.toolbarWidth, constants.toolbarWidth);
    }
    g_platformClass = 0;
}

}  // namespace
