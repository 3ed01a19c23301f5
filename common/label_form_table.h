// The 59 label forms the installer adds through its queue and the uninstaller
// deletes again: plain data (no windows.h), so that names and measures are
// checked natively.
#pragma once

#include <stddef.h>

struct LabelForm {
    const char16_t* name;  // UTF-16, exactly as the printer's software names the form
    int widthMm;
    int heightMm;
};

constexpr size_t kLabelFormCount = 59;
extern const LabelForm kLabelForms[kLabelFormCount];

// FORM_INFO_1's measures, in thousandths of a millimetre.
struct FormMeasures {
    long width;
    long height;
    long left;
    long top;
    long right;
    long bottom;
};

// The form's size; its imageable area is the whole sheet.
FormMeasures MeasureLabelForm(const LabelForm& form);
