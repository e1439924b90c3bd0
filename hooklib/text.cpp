// Multibyte-aware searches and comparison used by the recent store, the recent
// lists and the dialog code. Every walk steps over a whole double-byte
// character at once, so its trail byte is never taken for a separator.

#include "text.h"

// Next character after p; a lead byte followed by the terminator counts alone,
// so a cut string never makes the walk step past its end.
static const char* NextChar(const char* p)
{
    if (IsDBCSLeadByte((BYTE)*p) && p[1] != '\0')
        return p + 2;
    return p + 1;
}

const char* FindLastBackslash(const char* s)
{
    const char* last = nullptr;
    for (const char* p = s; *p != '\0'; p = NextChar(p)) {
        if (*p == '\\')
            last = p;
    }
    return last;
}

const char* FindLineFeed(const char* s)
{
    for (const char* p = s; *p != '\0'; p = NextChar(p)) {
        if (*p == '\n')
            return p;
    }
    return nullptr;
}

bool SamePath(const char* a, const char* b)
{
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

bool SamePathData(const char* a, const BYTE* b, DWORD dataSize)
{
    DWORD i = 0;
    while (i < dataSize && b[i] != 0) {
        if ((BYTE)a[i] != b[i])
            return false;
        ++i;
    }
    return a[i] == '\0';
}

static bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

void RecoverAbsolutePath(char* path)
{
    // Look for "X:\" or "\\server" right after a separator that lies past the
    // path's own root (the first three characters).
    char* start = nullptr;
    bool afterSeparator = false;
    for (char* p = path; *p != '\0'; p = (char*)NextChar(p)) {
        if (afterSeparator && p - path >= 3) {
            if (IsAsciiLetter(p[0]) && p[1] == ':' && p[2] == '\\')
                start = p;
            else if (p[0] == '\\' && p[1] == '\\' && p[2] != '\\' && p[2] != '\0')
                start = p;
        }
        afterSeparator = (*p == '\\');
    }
    if (start == nullptr)
        return;
    char* out = path;
    while ((*out++ = *start++) != '\0') {
    }
}
