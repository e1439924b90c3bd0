// Classifies the running Windows release once per process. The dialog code
// takes the toolbar's control id, the images of the recent buttons and the
// toolbar's width from the class; nothing else depends on the release.

#include "platform.h"

// Class 0 also stands for every release that no other row names.
static const PlatformConstants kPlatformTable[kPlatformClasses] = {
    {1, 0, 11, 230},      // 0: Windows 95, and anything unrecognised
    {1, 0, 11, 230},      // 1: Windows 95 OSR2 "C"
    {1, 0, 11, 230},      // 2: Windows 98
    {1, 0, 11, 220},      // 3: Windows 98 Second Edition
    {1, 0, 11, 220},      // 4: Windows Me
    {1, 0, 11, 230},      // 5: Windows NT 3.51
    {1, 0, 11, 230},      // 6: Windows NT 4.0
    {1, 16, 15, 167},     // 7: Windows 2000
    {1088, 16, 15, 180},  // 8: Windows XP
};

// Module state: written once during process attach, read afterwards.
unsigned g_platformClass = 0;

unsigned ClassOfVersion(const OSVERSIONINFOA& version)
{
    DWORD major = version.dwMajorVersion;
    DWORD minor = version.dwMinorVersion;
    char letter = version.szCSDVersion[1];
    if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        if (major != 4)
            return 0;
        switch (minor) {
        case 0: return letter == 'C' ? 1 : 0;
        case 10: return letter == 'A' ? 3 : 2;
        case 90: return 4;
        default: return 0;
        }
    }
    if (major == 3 && minor == 51) return 5;
    if (major == 4 && minor == 0) return 6;
    if (major == 5 && minor == 0) return 7;
    if (major == 5 && minor == 1) return 8;
    return 0;
}

void ClassifyPlatform()
{
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    g_platformClass = ClassOfVersion(version);
}

const PlatformConstants& CurrentPlatform()
{
    return kPlatformTable[g_platformClass < kPlatformClasses ? g_platformClass : 0];
}
