// The platform class: which Windows release runs this process, as a number
// from 0 to 8, and the toolbar constants that differ between releases.
#pragma once

#include "win32.h"

struct PlatformConstants {
    int toolbarId;          // control id of the dialog's own toolbar
    int documentsImage;     // image of the Recent Documents button
    int foldersImage;       // image of the Recent Folders button
    int toolbarWidth;       // pixels, not scaled for the display
};

constexpr unsigned kPlatformClasses = 9;

extern unsigned g_platformClass;

// Sets g_platformClass from GetVersionExA; called once, at process attach.
void ClassifyPlatform();

// The class of a version record; 0 for every release no class names.
unsigned ClassOfVersion(const OSVERSIONINFOA& version);

// The constants of the current class.
const PlatformConstants& CurrentPlatform();
