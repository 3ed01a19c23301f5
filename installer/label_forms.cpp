#include "installer/label_forms.h"

#include <windows.h>
#include <winspool.h>

#include "common/label_form_table.h"
#include "common/names.h"

static_assert(sizeof(char16_t) == sizeof(wchar_t), "UTF-16 names are Windows wide strings");

int AddLabelForms()
{
    HANDLE printer;
    if (!::OpenPrinterW(const_cast<wchar_t*>(L"" VARNEK_PRINTER_QUEUE), &printer, nullptr))
        return -1;
    int added = 0;
    for (const LabelForm& row : kLabelForms) {
        const FormMeasures m = MeasureLabelForm(row);
        FORM_INFO_1W form = {};
        form.Flags = FORM_PRINTER;
        form.pName = reinterpret_cast<wchar_t*>(const_cast<char16_t*>(row.name));
        form.Size = {m.width, m.height};
        form.ImageableArea = {m.left, m.top, m.right, m.bottom};
        if (::AddFormW(printer, 1, reinterpret_cast<BYTE*>(&form)))
            ++added;
    }
    ::ClosePrinter(printer);
    return added;
}
