// Text helpers for 8-bit paths in the process's ANSI code page. In a
// double-byte code page the trail byte of a character can be 0x5C or 0x0A, so
// a plain byte search would cut a path or an entry in the middle of a letter.
#pragma once

#include "win32.h"

// Last backslash of s, or null when it holds none.
const char* FindLastBackslash(const char* s);

// First line feed at or after s, or null.
const char* FindLineFeed(const char* s);

// Exact comparison, letter case included: well-formed strings are equal when
// their bytes are.
bool SamePath(const char* a, const char* b);

// The same, with b given as registry data of dataSize bytes: b ends at its
// first zero byte or at dataSize, whichever comes first.
bool SamePathData(const char* a, const BYTE* b, DWORD dataSize);

// Some file dialogs answer with their current folder joined to a file name
// that was already absolute ("C:\dir\\D:\x\a.txt"). A drive or share that
// stands after the first characters is never part of a valid path; move the
// last such absolute path to the front of the buffer, in place.
void RecoverAbsolutePath(char* path);
