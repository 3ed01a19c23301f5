#include "payload/format/package_format.h"

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

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 open devices whatever extension follows.
bool IsDeviceName(const char* name, size_t length)
{
    size_t base = 0;
    while (base < length && name[base] != '.')
        ++base;
    char upper[5] = {};
    if (base < 3 || base > 4)
        return false;
    for (size_t i = 0; i < base; ++i)
        upper[i] = Upper(name[i]);
    if (base == 3)
        return !strcmp(upper, "CON") || !strcmp(upper, "PRN") || !strcmp(upper, "AUX") || !strcmp(upper, "NUL");
    return (!strncmp(upper, "COM", 3) || !strncmp(upper, "LPT", 3)) && upper[3] >= '1' && upper[3] <= '9';
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
