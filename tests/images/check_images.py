#!/usr/bin/python3
"""Checks the built images, LumoraHook.dll and Lumora.exe, as files: what the
loader and the shell will see before any of their code runs. The 32-bit
images cannot run on the build machine, so this is how they are tested; the
64-bit ones get the same checks apart from the machine type.

usage: check_images.py --machine {i386,amd64} LumoraHook.dll Lumora.exe

Needs python3-pefile (Debian's, hence /usr/bin/python3). Prints one line per
check and the image sizes; exits 1 when any check fails.
"""
import argparse
import os
import struct
import sys

import pefile

MACHINES = {"i386": 0x14C, "amd64": 0x8664}
EXPORT = b"Marquel_InstallHook"

# The shared hook handle: initialised data, readable, writable, shared.
SHARED_FLAGS = (pefile.SECTION_CHARACTERISTICS["IMAGE_SCN_CNT_INITIALIZED_DATA"]
                | pefile.SECTION_CHARACTERISTICS["IMAGE_SCN_MEM_READ"]
                | pefile.SECTION_CHARACTERISTICS["IMAGE_SCN_MEM_WRITE"]
                | pefile.SECTION_CHARACTERISTICS["IMAGE_SCN_MEM_SHARED"])

# DLLs every Windows has; anything else would have to ship beside the images.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "advapi32.dll", "msvcrt.dll"}
# The runtimes of the cross compiler, named so that their failure says why.
RUNTIME_PREFIXES = ("libgcc_s", "libstdc++", "libwinpthread")

LANG_EN_US = 1033
RT_ICON, RT_MENU, RT_GROUP_ICON, RT_VERSION = 3, 4, 14, 16
VFT_APP, VFT_DLL = 1, 2
VOS_NT_WINDOWS32 = 0x40004
MF_POPUP, MF_END = 0x10, 0x80

VERSION_STRINGS_COMMON = {
    "FileVersion": "1. 0. 1. 0",
    "ProductVersion": "1. 0. 1. 0",
    "Comments": "",
    "LegalTrademarks": "",
    "PrivateBuild": "",
    "SpecialBuild": "",
}


class Report:
    def __init__(self):
        self.failures = 0

    def check(self, image, condition, what, detail=""):
        status = "ok  " if condition else "FAIL"
        if not condition:
            self.failures += 1
        print(f"{status} {image}: {what}{' (' + detail + ')' if detail and not condition else ''}")
        return condition


def resource(pe, type_id, name_id):
    """The (language, data) pairs of one resource, or []."""
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return []
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if type_entry.id != type_id:
            continue
        for name_entry in type_entry.directory.entries:
            if name_entry.id == name_id:
                return [(lang.id, pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size))
                        for lang in name_entry.directory.entries]
    return []


def check_common(report, name, pe, machine):
    report.check(name, pe.FILE_HEADER.Machine == MACHINES[machine], f"machine {machine}",
                 f"found {pe.FILE_HEADER.Machine:#x}")


def check_imports(report, name, pe, allowed):
    dlls = [entry.dll.decode().lower() for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])]
    dlls += [entry.dll.decode().lower() for entry in getattr(pe, "DIRECTORY_ENTRY_DELAY_IMPORT", [])]
    runtimes = [dll for dll in dlls if dll.startswith(RUNTIME_PREFIXES)]
    report.check(name, not runtimes, "no compiler runtime DLL imported", ", ".join(runtimes))
    others = [dll for dll in dlls if dll not in allowed]
    report.check(name, not others, "imports only " + ", ".join(sorted(allowed)), "also " + ", ".join(others))


def check_version(report, name, pe, file_type, strings):
    fixed = pe.VS_FIXEDFILEINFO[0] if getattr(pe, "VS_FIXEDFILEINFO", None) else None
    if not report.check(name, fixed is not None, "has a version block"):
        return
    langs = [lang for lang, _ in resource(pe, RT_VERSION, 1)]
    report.check(name, langs == [LANG_EN_US], "version block in US English", f"languages {langs}")
    report.check(name, (fixed.FileVersionMS, fixed.FileVersionLS) == (0x10000, 0x10000), "file version 1.0.1.0",
                 f"{fixed.FileVersionMS:#x} {fixed.FileVersionLS:#x}")
    report.check(name, (fixed.ProductVersionMS, fixed.ProductVersionLS) == (0x10000, 0x10000),
                 "product version 1.0.1.0", f"{fixed.ProductVersionMS:#x} {fixed.ProductVersionLS:#x}")
    report.check(name, fixed.FileFlagsMask == 0x3F and fixed.FileFlags == 0, "flags mask 0x3F, no flags",
                 f"mask {fixed.FileFlagsMask:#x} flags {fixed.FileFlags:#x}")
    report.check(name, fixed.FileOS == VOS_NT_WINDOWS32, "file OS VOS_NT_WINDOWS32", f"{fixed.FileOS:#x}")
    report.check(name, fixed.FileType == file_type, f"file type {file_type}", f"{fixed.FileType}")

    tables, translations = {}, []
    for info in getattr(pe, "FileInfo", []):
        for entry in info:
            for table in getattr(entry, "StringTable", []):
                tables[table.LangID.decode().lower()] = {k.decode(): v.decode() for k, v in table.entries.items()}
            for var in getattr(entry, "Var", []):
                translations.append(var.entry.get(b"Translation"))
    report.check(name, list(tables) == ["040904b0"], "one string table, 040904b0", f"tables {list(tables)}")
    report.check(name, translations == ["0x0409 0x04b0"], "translation 0x0409/1200", f"{translations}")
    table = tables.get("040904b0", {})
    for key, value in dict(VERSION_STRINGS_COMMON, **strings).items():
        report.check(name, table.get(key) == value, f'{key} "{value}"', f"found {table.get(key)!r}")


def parse_menu(data):
    """A standard menu template as [(flags, id, text, children)]."""
    version, offset = struct.unpack_from("<HH", data, 0)
    if version != 0:
        raise ValueError(f"extended or unknown template, version {version}")
    position = 4 + offset

    def text_at(position):
        end = position
        while data[end:end + 2] != b"\0\0":
            end += 2
        return data[position:end].decode("utf-16-le"), end + 2

    def items(position):
        result = []
        while True:
            (flags,) = struct.unpack_from("<H", data, position)
            position += 2
            item_id = None
            if not flags & MF_POPUP:
                (item_id,) = struct.unpack_from("<H", data, position)
                position += 2
            text, position = text_at(position)
            children = []
            if flags & MF_POPUP:
                children, position = items(position)
            result.append((flags & ~MF_END, item_id, text, children))
            if flags & MF_END:
                return result, position

    return items(position)[0]


def check_menus(report, name, pe):
    for menu_id, title, clear_id in ((200, "_FILES_", 33201), (201, "_FOLDERS_", 33202)):
        found = resource(pe, RT_MENU, menu_id)
        langs = [lang for lang, _ in found]
        if not report.check(name, langs == [LANG_EN_US], f"menu {menu_id} in US English", f"languages {langs}"):
            continue
        try:
            menu = parse_menu(found[0][1])
        except (ValueError, struct.error, UnicodeDecodeError) as error:
            report.check(name, False, f"menu {menu_id} is a standard template", str(error))
            continue
        # The separator is an item with id 0 and no text; entries go before it.
        expected = [(MF_POPUP, None, title, [(0, 0, "", []), (0, clear_id, "< &Clear list >", [])])]
        report.check(name, menu == expected, f'menu {menu_id}: "{title}" with separator and clear item {clear_id}',
                     f"found {menu}")


def check_icon(report, name, pe):
    groups = resource(pe, RT_GROUP_ICON, 104)
    langs = [lang for lang, _ in groups]
    if not report.check(name, langs == [LANG_EN_US], "icon group 104 in US English", f"languages {langs}"):
        return
    data = groups[0][1]
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    report.check(name, (reserved, kind, count) == (0, 1, 2), "icon group holds two icons",
                 f"type {kind} count {count}")
    entries = [struct.unpack_from("<BBBBHHIH", data, 6 + 14 * i) for i in range(count)]
    sizes = [(width, height, bits) for width, height, _, _, _, bits, _, _ in entries]
    report.check(name, sizes == [(32, 32, 8), (48, 48, 8)], "icons 32x32 and 48x48 at 8 bpp", f"found {sizes}")
    for width, height, colours, _, _, bits, size, icon_id in entries:
        images = resource(pe, RT_ICON, icon_id)
        header = struct.unpack_from("<IiiHH", images[0][1], 0) if images else None
        report.check(name, header is not None and header[1:] == (width, 2 * height, 1, bits) and
                     len(images[0][1]) == size, f"icon {icon_id} image is {width}x{height} at {bits} bpp",
                     f"bitmap header {header}")


def check_library(report, path, pe, machine):
    name = os.path.basename(path)
    check_common(report, name, pe, machine)
    exports = []
    if hasattr(pe, "DIRECTORY_ENTRY_EXPORT"):
        exports = [symbol.name for symbol in pe.DIRECTORY_ENTRY_EXPORT.symbols]
    report.check(name, exports == [EXPORT], f"exports {EXPORT.decode()} by plain name, nothing else",
                 f"{len(exports)} exports: {exports[:4]}")

    shared = [section for section in pe.sections if section.Name.rstrip(b"\0") == b"Shared"]
    if report.check(name, len(shared) == 1, "one section named Shared", f"{len(shared)} found"):
        section = shared[0]
        pointer = 8 if machine == "amd64" else 4
        report.check(name, section.Characteristics == SHARED_FLAGS, f"Shared flags {SHARED_FLAGS:#x}",
                     f"found {section.Characteristics:#x}")
        report.check(name, section.Misc_VirtualSize == pointer, f"Shared holds just the handle ({pointer} bytes)",
                     f"virtual size {section.Misc_VirtualSize}")
        report.check(name, section.SizeOfRawData <= pe.OPTIONAL_HEADER.FileAlignment and
                     not any(section.get_data()[:pointer]), "Shared is one file block, the handle null",
                     f"raw size {section.SizeOfRawData}")
    check_imports(report, name, pe, SYSTEM_DLLS)
    check_menus(report, name, pe)
    check_version(report, name, pe, VFT_DLL, {
        "FileDescription": "Pathwick Library", "ProductName": "Pathwick Library",
        "InternalName": "LumoraHook", "OriginalFilename": "LumoraHook.dll"})


def check_host(report, path, pe, machine):
    name = os.path.basename(path)
    check_common(report, name, pe, machine)
    report.check(name, pe.OPTIONAL_HEADER.Subsystem == pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"],
                 "GUI subsystem (no console window)", f"subsystem {pe.OPTIONAL_HEADER.Subsystem}")
    from_library = [entry for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])
                    if entry.dll.decode().lower() == "lumorahook.dll"]
    imported = [(i.name, i.import_by_ordinal) for entry in from_library for i in entry.imports]
    report.check(name, imported == [(EXPORT, False)], f"imports {EXPORT.decode()} by name from LumoraHook.dll",
                 f"found {imported}")
    check_imports(report, name, pe, SYSTEM_DLLS | {"lumorahook.dll"})
    check_icon(report, name, pe)
    check_version(report, name, pe, VFT_APP, {
        "FileDescription": "Pathwick", "ProductName": "Pathwick",
        "InternalName": "Lumora", "OriginalFilename": "Lumora.exe"})


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--machine", choices=sorted(MACHINES), required=True)
    parser.add_argument("library")
    parser.add_argument("host")
    args = parser.parse_args()

    report = Report()
    for path, check in ((args.library, check_library), (args.host, check_host)):
        if not report.check(os.path.basename(path), os.path.isfile(path), "exists", path):
            continue
        pe = pefile.PE(path)
        check(report, path, pe, args.machine)
        print(f"size {os.path.basename(path)} ({args.machine}): {os.path.getsize(path)} bytes, "
              f"image {pe.OPTIONAL_HEADER.SizeOfImage} bytes in memory")
    print(f"{report.failures} failed")
    return 1 if report.failures else 0


if __name__ == "__main__":
    sys.exit(main())
