// Which of the spooler's printers the removal deletes. Portable (no
// windows.h): a template over the enumeration's record type, so the choice
// is checked natively on records of the test's own.
#pragma once

#include <stddef.h>
#include <string.h>

#include "common/names.h"

// Byte for byte: a driver whose name differs only in letter case is another
// vendor's, and so are its queues.
inline bool IsVarnekDriverName(const char* driverName)
{
    return driverName && strcmp(driverName, VARNEK_PRINTER_DRIVER) == 0;
}

// Calls remove(record, withForms) for every record (with pPrinterName and
// pDriverName, as PRINTER_INFO_2) whose queue uses the driver, in order.
// withForms is true for the first of them, wherever it stands: forms belong
// to the print server, so one queue reaches them all.
template <class Record, class Remove>
void ForEachVarnekQueue(const Record* records, size_t count, Remove remove)
{
    bool formsDone = false;
    for (size_t i = 0; i < count; ++i) {
        if (!records[i].pPrinterName || !IsVarnekDriverName(records[i].pDriverName))
            continue;
        remove(records[i], !formsDone);
        formsDone = true;
    }
}
