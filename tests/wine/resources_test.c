// The resources of both images as the platform's own resource, menu and
// version APIs read them: the two menu templates of the hook library, the
// version blocks of the library and the host, and the host's icon group.
#include "wtest.h"

#include <string.h>

#define LANG_EN_US MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)

// A menu template's only popup: its title and its items, in order.
static void check_menu_template(HMODULE library, int id, const char* title, UINT clearId)
{
    // A standard template, not an extended one: header version 0, offset 0.
    HRSRC resource = FindResourceExA(library, (LPCSTR)RT_MENU, MAKEINTRESOURCEA(id), LANG_EN_US);
    ok(resource != NULL, "menu %d: no template in US English\n", id);
    if (resource) {
        const WORD* header = LockResource(LoadResource(library, resource));
        ok(header && header[0] == 0 && header[1] == 0, "menu %d: header %u %u, not a standard template\n", id,
           header ? header[0] : 0, header ? header[1] : 0);
    }

    HMENU menu = LoadMenuA(library, MAKEINTRESOURCEA(id));
    ok(menu != NULL, "menu %d: LoadMenuA failed: %lu\n", id, GetLastError());
    if (!menu)
        return;
    char text[64] = "";
    ok(GetMenuItemCount(menu) == 1, "menu %d: %d items at the top, not one popup\n", id, GetMenuItemCount(menu));
    GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
    ok(strcmp(text, title) == 0, "menu %d: popup title \"%s\"\n", id, text);

    HMENU popup = GetSubMenu(menu, 0);
    ok(popup != NULL, "menu %d: the first item is no popup\n", id);
    if (popup) {
        ok(GetMenuItemCount(popup) == 2, "menu %d: %d items in the popup\n", id, GetMenuItemCount(popup));

        MENUITEMINFOA item;
        ZeroMemory(&item, sizeof item);
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
        ok(GetMenuItemInfoA(popup, 0, TRUE, &item), "menu %d: no first item\n", id);
        ok(item.fType == MFT_SEPARATOR && item.wID == 0 && item.hSubMenu == NULL,
           "menu %d: first item type %#x id %u, not a separator with id 0\n", id, item.fType, item.wID);
        ok(GetMenuState(popup, 0, MF_BYPOSITION) & MF_SEPARATOR, "menu %d: no MF_SEPARATOR\n", id);

        ZeroMemory(&item, sizeof item);
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = sizeof text;
        ok(GetMenuItemInfoA(popup, 1, TRUE, &item), "menu %d: no second item\n", id);
        ok(item.fType == MFT_STRING && item.fState == MFS_ENABLED && item.hSubMenu == NULL,
           "menu %d: clear item type %#x state %#x\n", id, item.fType, item.fState);
        ok(item.wID == clearId, "menu %d: clear item id %u, expected %u\n", id, item.wID, clearId);
        ok(strcmp(text, "< &Clear list >") == 0, "menu %d: clear item text \"%s\"\n", id, text);
        // Entries go before the item with id 0: the separator must be the only one.
        ok(GetMenuState(popup, 0, MF_BYCOMMAND) & MF_SEPARATOR, "menu %d: id 0 is not the separator\n", id);
    }
    DestroyMenu(menu);
}

static void test_menu_templates(void)
{
    HMODULE library = LoadLibraryA("LumoraHook.dll");
    ok(library != NULL, "LoadLibraryA(LumoraHook.dll) failed: %lu\n", GetLastError());
    if (!library)
        return;
    check_menu_template(library, 200, "_FILES_", 33201);
    check_menu_template(library, 201, "_FOLDERS_", 33202);
    FreeLibrary(library);
}

struct version_expectation {
    const char* file;
    DWORD fileType;
    const char* description;   // FileDescription and ProductName
    const char* internalName;
    const char* originalName;
};

static void check_string(const char* file, void* block, const char* name, const char* expected)
{
    char query[128];
    char* value = NULL;
    UINT length = 0;
    snprintf(query, sizeof query, "\\StringFileInfo\\040904b0\\%s", name);
    BOOL found = VerQueryValueA(block, query, (void**)&value, &length);
    ok(found, "%s: no %s in string table 040904b0\n", file, name);
    if (!found)
        return;
    // An empty value may come back with length 0 and a pointer past it.
    if (expected[0] == 0)
        ok(length == 0 || (value && value[0] == 0), "%s: %s is \"%.*s\", expected empty\n", file, name, (int)length,
           value);
    else
        ok(value && strcmp(value, expected) == 0, "%s: %s is \"%s\", expected \"%s\"\n", file, name,
           value ? value : "(null)", expected);
}

static void check_version_block(const struct version_expectation* expected)
{
    DWORD ignored = 0, size = GetFileVersionInfoSizeA(expected->file, &ignored);
    ok(size != 0, "%s: no version block: %lu\n", expected->file, GetLastError());
    if (size == 0)
        return;
    void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
    ok(GetFileVersionInfoA(expected->file, 0, size, block), "%s: GetFileVersionInfoA failed\n", expected->file);

    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    if (VerQueryValueA(block, "\\", (void**)&fixed, &length) && fixed) {
        ok(fixed->dwSignature == VS_FFI_SIGNATURE, "%s: signature %#lx\n", expected->file, fixed->dwSignature);
        ok(fixed->dwFileVersionMS == 0x00010000 && fixed->dwFileVersionLS == 0x00010000,
           "%s: file version %#lx.%#lx, expected 1.0.1.0\n", expected->file, fixed->dwFileVersionMS,
           fixed->dwFileVersionLS);
        ok(fixed->dwProductVersionMS == 0x00010000 && fixed->dwProductVersionLS == 0x00010000,
           "%s: product version %#lx.%#lx, expected 1.0.1.0\n", expected->file, fixed->dwProductVersionMS,
           fixed->dwProductVersionLS);
        ok(fixed->dwFileFlagsMask == 0x3f && fixed->dwFileFlags == 0, "%s: flags mask %#lx flags %#lx\n",
           expected->file, fixed->dwFileFlagsMask, fixed->dwFileFlags);
        ok(fixed->dwFileOS == VOS_NT_WINDOWS32, "%s: file OS %#lx\n", expected->file, fixed->dwFileOS);
        ok(fixed->dwFileType == expected->fileType, "%s: file type %lu, expected %lu\n", expected->file,
           fixed->dwFileType, expected->fileType);
    } else {
        ok(0, "%s: no fixed file info\n", expected->file);
    }

    WORD* translation = NULL;
    ok(VerQueryValueA(block, "\\VarFileInfo\\Translation", (void**)&translation, &length) && length == 4 &&
           translation[0] == 0x0409 && translation[1] == 1200,
       "%s: translation %#x/%u (length %u), expected 0x409/1200\n", expected->file, translation ? translation[0] : 0,
       translation ? translation[1] : 0, length);

    static const char* const emptyValues[] = {"Comments", "LegalTrademarks", "PrivateBuild", "SpecialBuild"};
    for (size_t i = 0; i < sizeof emptyValues / sizeof emptyValues[0]; ++i)
        check_string(expected->file, block, emptyValues[i], "");
    check_string(expected->file, block, "FileDescription", expected->description);
    check_string(expected->file, block, "ProductName", expected->description);
    check_string(expected->file, block, "InternalName", expected->internalName);
    check_string(expected->file, block, "OriginalFilename", expected->originalName);
    check_string(expected->file, block, "FileVersion", "1. 0. 1. 0");
    check_string(expected->file, block, "ProductVersion", "1. 0. 1. 0");
    HeapFree(GetProcessHeap(), 0, block);
}

static void test_version_blocks(void)
{
    static const struct version_expectation images[] = {
        {"LumoraHook.dll", VFT_DLL, "Pathwick Library", "LumoraHook", "LumoraHook.dll"},
        {"Lumora.exe", VFT_APP, "Pathwick", "Lumora", "Lumora.exe"},
    };
    for (size_t i = 0; i < sizeof images / sizeof images[0]; ++i)
        check_version_block(&images[i]);
}

#pragma pack(push, 2)
typedef struct {
    BYTE width, height, colors, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
} GroupIconEntry;
typedef struct {
    WORD reserved, type, count;
    GroupIconEntry entries[1];
} GroupIconDirectory;
#pragma pack(pop)

// The icon the shell shows for the program file: group 104, two 256-colour
// images, 32 and 48 pixels square.
static void test_host_icon(void)
{
    HMODULE host = LoadLibraryExA("Lumora.exe", NULL, LOAD_LIBRARY_AS_DATAFILE);
    ok(host != NULL, "Lumora.exe cannot be loaded as data: %lu\n", GetLastError());
    if (!host)
        return;
    HRSRC group = FindResourceExA(host, (LPCSTR)RT_GROUP_ICON, MAKEINTRESOURCEA(104), LANG_EN_US);
    ok(group != NULL, "no icon group 104 in US English\n");
    const GroupIconDirectory* directory = group ? LockResource(LoadResource(host, group)) : NULL;
    if (directory) {
        ok(directory->reserved == 0 && directory->type == 1 && directory->count == 2,
           "icon group: type %u with %u images, expected 2 icons\n", directory->type, directory->count);
        static const BYTE sizes[2] = {32, 48};
        for (int i = 0; i < 2 && i < directory->count; ++i) {
            const GroupIconEntry* entry = &directory->entries[i];
            ok(entry->width == sizes[i] && entry->height == sizes[i] && entry->bitCount == 8 && entry->colors == 0,
               "icon %d: %ux%u at %u bpp (%u colours)\n", i, entry->width, entry->height, entry->bitCount,
               entry->colors);
            HRSRC image = FindResourceExA(host, (LPCSTR)RT_ICON, MAKEINTRESOURCEA(entry->id), LANG_EN_US);
            const BITMAPINFOHEADER* header = image ? LockResource(LoadResource(host, image)) : NULL;
            // An icon's bitmap holds the colour image over the mask: twice the height.
            ok(header && header->biWidth == sizes[i] && header->biHeight == 2 * sizes[i] && header->biBitCount == 8,
               "icon %d (resource %u): bitmap %ldx%ld at %u bpp\n", i, entry->id, header ? header->biWidth : 0,
               header ? header->biHeight : 0, header ? header->biBitCount : 0);
        }
    }

    // The platform picks an image of each size out of the group.
    static const int wanted[2] = {32, 48};
    for (int i = 0; i < 2; ++i) {
        HICON icon = LoadImageA(host, MAKEINTRESOURCEA(104), IMAGE_ICON, wanted[i], wanted[i], 0);
        ok(icon != NULL, "LoadImageA of icon 104 at %d failed: %lu\n", wanted[i], GetLastError());
        ICONINFO info;
        BITMAP bitmap;
        if (icon && GetIconInfo(icon, &info)) {
            GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
            ok(bitmap.bmWidth == wanted[i], "icon at %d is %ld wide\n", wanted[i], bitmap.bmWidth);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
        }
        if (icon)
            DestroyIcon(icon);
    }
    FreeLibrary(host);
}

WTEST_MAIN(test_menu_templates, test_version_blocks, test_host_icon)
