#include "wizard_ui/wrap_text.h"

#include <string.h>

namespace {

void AppendLine(CStringArray& lines, const char* start, int length)
{
    // The breaking never assembles more than kWrapLineBytes bytes.
    char line[kWrapLineBytes + 1];
    memcpy(line, start, length);
    line[length] = '\0';
    lines.Add(line);
}

}  // namespace

void WrapTextLines(const char* text, CStringArray& lines, int maxWidth, MeasureTextFn measure,
                   const void* context)
{
    const int length = static_cast<int>(strlen(text));
    int lineStart = 0;
    // Last byte known to fit; below lineStart while the line holds nothing.
    int lastFit = -1;
    for (int i = 0; i < length; ++i) {
        // A byte of 0x80 or above starts a two-byte character, measured as
        // one unit. A lead byte that ends the text or precedes a line break
        // stands alone ('\n' is never a trail byte): the break must stay a
        // break, and the lead byte must pass the line-length bound itself.
        if (static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < length && text[i + 1] != '\n')
            ++i;
        if (text[i] == '\n') {
            AppendLine(lines, text + lineStart, i - lineStart);
            lineStart = i + 1;
            lastFit = i;
        } else {
            const int bytes = i - lineStart + 1;
            if (bytes > kWrapLineBytes || measure(context, text + lineStart, bytes) > maxWidth) {
                // The character that does not fit begins the next line. On an
                // empty line it stays, alone: every line takes at least one
                // character, so a width narrower than any character still ends.
                if (lastFit >= lineStart) {
                    AppendLine(lines, text + lineStart, lastFit - lineStart + 1);
                    lineStart = lastFit + 1;
                }
            }
            lastFit = i;
        }
        if (i == length - 1)
            AppendLine(lines, text + lineStart, length - lineStart);
    }
}
