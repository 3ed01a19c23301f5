#include "common/folder_rules.h"

#include <string.h>

#include "common/dbcs.h"
#include "common/path_text.h"

namespace {

bool IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool IsInvalidNameChar(unsigned char c)
{
    return c < 0x20 || strchr("<>:\"|?*", c) != nullptr;
}

// Comparison form: '\\' separators, no trailing separator, ASCII letters in
// upper case (two-byte characters are left as they are).
bool Normalise(const char* path, char (&out)[kPathBufferSize])
{
    size_t n = 0;
    for (const char* p = path; *p;) {
        const char* next = NextChar(p);
        for (const char* q = p; q < next; ++q) {
            if (n + 1 >= sizeof out)
                return false;
            char c = *q;
            if (next - p == 1) {
                if (c == '/')
                    c = '\\';
                else if (c >= 'a' && c <= 'z')
                    c = static_cast<char>(c - 'a' + 'A');
            }
            out[n++] = c;
        }
        p = next;
    }
    out[n] = '\0';
    // Only a separator that is a whole character counts as trailing.
    while (n > 2 && out[n - 1] == '\\' && LastSeparator(out) == static_cast<int>(n - 1))
        out[--n] = '\0';
    return n >= 2;
}

}  // namespace

bool IsValidFolderSyntax(const char* path)
{
    size_t length = strlen(path);
    if (length < 4 || length >= kPathBufferSize)
        return false;
    if (!IsDriveLetter(path[0]) || path[1] != ':' || !IsSeparator(path[2]))
        return false;

    // Walk the levels after "X:\"; a trailing separator is allowed.
    const char* level = path + 3;
    bool sawLevel = false;
    while (*level) {
        const char* end = level;
        const char* lastChar = level;
        while (*end && !IsSeparator(*end)) {
            if (IsInvalidNameChar(static_cast<unsigned char>(*end)))
                return false;
            lastChar = end;
            end = NextChar(end);
        }
        size_t levelLength = static_cast<size_t>(end - level);
        if (levelLength == 0)
            return false;  // "\\\\" inside the path
        if (*lastChar == '.' || *lastChar == ' ')
            return false;  // Windows strips these, so the name would not be what was typed
        sawLevel = true;
        if (!*end)
            break;
        level = end + 1;
    }
    return sawLevel;
}

bool FolderContains(const char* folder, const char* other)
{
    char a[kPathBufferSize], b[kPathBufferSize];
    if (!Normalise(folder, a) || !Normalise(other, b))
        return false;
    size_t n = strlen(a);
    return strncmp(a, b, n) == 0 && (b[n] == '\0' || b[n] == '\\');
}

bool CanonicalFolderText(const char* path, char* buffer, size_t size)
{
    if (!IsValidFolderSyntax(path) || strchr(path, '%')) {
        CopyText(buffer, size, "");
        return false;
    }
    if (!CopyText(buffer, size, path))
        return false;
    // A '/' is never the second byte of a two-byte character in code page
    // 936, but '\\' is: only whole characters are turned.
    for (char* p = buffer; *p; p = const_cast<char*>(NextChar(p))) {
        if (*p == '/')
            *p = '\\';
    }
    size_t n = strlen(buffer);
    while (n > 3 && buffer[n - 1] == '\\' && LastSeparator(buffer) == static_cast<int>(n - 1))
        buffer[--n] = '\0';
    return true;
}

bool IsSameFolder(const char* folder, const char* other)
{
    return FolderContains(folder, other) && FolderContains(other, folder);
}

bool IsGuardedFolder(const char* folder, const GuardedFolder* guarded, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const GuardedFolder& g = guarded[i];
        if (!g.path || !g.path[0])
            continue;
        if (FolderContains(folder, g.path))
            return true;
        if (g.guard == FolderGuard::kTree && FolderContains(g.path, folder) &&
            !(g.except && g.except[0] && FolderContains(g.except, folder) && !IsSameFolder(g.except, folder)))
            return true;
    }
    return false;
}

bool IsFolderOursToRecord(FolderState state, const char* folder, const char* recorded, bool holdsUninstaller)
{
    if (state != FolderState::kHoldsEntries)
        return true;
    return holdsUninstaller && MayEmptyFolderTree(folder, recorded);
}

bool MayEmptyFolderTree(const char* folder, const char* recorded)
{
    return recorded && recorded[0] && IsValidFolderSyntax(recorded) && IsSameFolder(folder, recorded);
}
