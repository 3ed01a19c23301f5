#include "package/package_format.h"

#include <string.h>

namespace {

bool IsForbiddenByte(unsigned char c)
{
    return c < 0x20 || c == 0x7F || strchr("\\/:*?\"<>|", c) != nullptr;
}

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsDigitOrSuperscript(unsigned char c)
{
    // ¹ ² ³ in the Latin code pages: Windows maps COM¹ to a device like COM1.
    return (c >= '0' && c <= '9') || c == 0xB9 || c == 0xB2 || c == 0xB3;
}

// What Windows opens as a device whatever extension follows: CON, PRN, AUX,
// NUL, CONIN$, CONOUT$, COM0-9 and LPT0-9 (digits also as superscripts). The
// base name ends at the first '.', and blanks before that dot are ignored, so
// "CON .txt" is the console too.
bool IsDeviceName(const char* name, size_t length)
{
    size_t base = 0;
    while (base < length && name[base] != '.')
        ++base;
    while (base > 0 && name[base - 1] == ' ')
        --base;
    if (base < 3 || base > 7)
        return false;
    char upper[8] = {};
    for (size_t i = 0; i < base; ++i)
        upper[i] = Upper(name[i]);
    if (base == 3)
        return !strcmp(upper, "CON") || !strcmp(upper, "PRN") || !strcmp(upper, "AUX") || !strcmp(upper, "NUL");
    if (base == 4)
        return (!strncmp(upper, "COM", 3) || !strncmp(upper, "LPT", 3)) &&
               IsDigitOrSuperscript(static_cast<unsigned char>(upper[3]));
    return !strcmp(upper, "CONIN$") || !strcmp(upper, "CONOUT$");
}

}  // namespace

bool IsPlainFileName(const char* name, size_t length)
{
    if (length == 0 || length > kMaxNameLength)
        return false;
    for (size_t i = 0; i < length; ++i) {
        if (IsForbiddenByte(static_cast<unsigned char>(name[i])))
            return false;
    }
    const char last = name[length - 1];
    return last != '.' && last != ' ' && !IsDeviceName(name, length);
}

int ProgressPosition(uint64_t total, uint32_t packageSize)
{
    if (packageSize == 0)
        return 100;
    double position = static_cast<double>(total) / packageSize * 100.0;
    return position >= 100.0 ? 100 : static_cast<int>(position);
}
