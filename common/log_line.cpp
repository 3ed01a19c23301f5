#include "common/log_line.h"

#include "common/path_text.h"

namespace {

// Appends text, control characters replaced when clean; false when it does not fit.
bool Append(char* buffer, size_t size, size_t& used, const char* text, bool clean)
{
    for (const char* p = text ? text : ""; *p; ++p) {
        if (used + 1 >= size)
            return false;
        const unsigned char c = static_cast<unsigned char>(*p);
        buffer[used++] = clean && (c < 0x20 || c == 0x7F) ? '?' : *p;
    }
    buffer[used] = '\0';
    return true;
}

}  // namespace

bool FormatLogLine(char* buffer, size_t size, const LogTime& time, const char* step, const char* object,
                   const char* result, unsigned long error)
{
    char stamp[32], number[16];
    ComposePath(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u", time.year % 10000, time.month % 100,
                time.day % 100, time.hour % 100, time.minute % 100, time.second % 100, time.millisecond % 1000);
    ComposePath(number, sizeof number, "%lu", error);
    size_t used = 0;
    const bool fits = Append(buffer, size, used, stamp, false) && Append(buffer, size, used, "\t", false) &&
                      Append(buffer, size, used, step, true) && Append(buffer, size, used, "\t", false) &&
                      Append(buffer, size, used, object, true) && Append(buffer, size, used, "\t", false) &&
                      Append(buffer, size, used, result, true) && Append(buffer, size, used, "\t", false) &&
                      Append(buffer, size, used, number, false) && Append(buffer, size, used, "\r\n", false);
    if (!fits && size > 0)
        buffer[0] = '\0';
    return fits;
}
