// Which of the spooler's printers, ports and forms the removal deletes.
// Portable (no windows.h): templates over the enumerations' record types, so
// the choice is checked natively on records of the test's own, and the form
// list, since Wine's form calls store nothing.
#pragma once

#include <stddef.h>
#include <string.h>

#include "common/label_form_table.h"
#include "common/names.h"

// Byte for byte: a driver whose name differs only in letter case is another
// vendor's, and so are its queues.
inline bool IsVarnekDriverName(const char* driverName)
{
    return driverName && strcmp(driverName, VARNEK_PRINTER_DRIVER) == 0;
}

// PRINTER_ATTRIBUTE_NETWORK: the record is a connection to a queue shared by
// another computer (printer_system_removal.cpp checks the value).
constexpr unsigned long kNetworkPrinterAttribute = 0x00000010;

// A connection to another computer's queue: removing it must only drop the
// connection, since deleting the queue would delete it on that server.
template <class Record>
bool IsPrinterConnection(const Record& record)
{
    return (record.Attributes & kNetworkPrinterAttribute) != 0 || (record.pServerName && record.pServerName[0]);
}

// Calls remove(record, withForms, connection) for every record (with
// pPrinterName, pDriverName, pServerName and Attributes, as PRINTER_INFO_2)
// whose queue uses the driver, in order. withForms is true for the first
// local queue, wherever it stands: forms belong to the print server, so one
// local queue reaches them all, and a connection would reach another
// computer's.
template <class Record, class Remove>
void ForEachVarnekQueue(const Record* records, size_t count, Remove remove)
{
    bool formsDone = false;
    for (size_t i = 0; i < count; ++i) {
        if (!records[i].pPrinterName || !IsVarnekDriverName(records[i].pDriverName))
            continue;
        const bool connection = IsPrinterConnection(records[i]);
        remove(records[i], !formsDone && !connection, connection);
        formsDone = formsDone || !connection;
    }
}

// True when the records (with pPortName and pMonitorName, as PORT_INFO_2)
// list portName as a port of monitorName: only then is the port ours to
// delete. Names compare byte for byte.
template <class Record>
bool IsPortOfMonitor(const Record* records, size_t count, const char* portName, const char* monitorName)
{
    for (size_t i = 0; i < count; ++i) {
        if (records[i].pPortName && records[i].pMonitorName && strcmp(records[i].pPortName, portName) == 0 &&
            strcmp(records[i].pMonitorName, monitorName) == 0)
            return true;
    }
    return false;
}

// The forms the uninstaller deletes (DeleteFormW, UTF-16 names): the
// installer's 59 label forms, then the 21 that earlier installations added.
constexpr size_t kEarlierFormCount = 21;
extern const char16_t* const kEarlierFormNames[kEarlierFormCount];

constexpr size_t kRemovalFormCount = kLabelFormCount + kEarlierFormCount;

// The removal list's name at index (below kRemovalFormCount): the label
// forms in table order, then the earlier names in their order.
const char16_t* RemovalFormName(size_t index);
