// The streaming core of ExtractPackage, free of Windows calls: entries are
// read through PackageInput and written through ExtractTarget, so the same
// code runs in the installer, in native tests and in the benchmark.
#pragma once

#include <stdint.h>

#include "common/spooler_env.h"
#include "payload/format/package_reader.h"

// Where extracted files go and what the user sees meanwhile.
class ExtractTarget {
public:
    // Creates the output file, or truncates an existing one.
    virtual bool Create(const char* path) = 0;
    // Appends to the file made by Create; false on a failed or short write.
    virtual bool Write(const void* data, uint32_t size) = 0;
    virtual void Close() = 0;
    // The status line: the output path of the entry being written.
    virtual void ShowStatus(const char* path) = 0;
    // The progress bar, 0-100.
    virtual void SetProgress(int position) = 0;

protected:
    ~ExtractTarget() = default;
};

// Inflates one entry of dataLength bytes from the current position of file
// into a new file at outputPath. Every produced buffer (at most 16 KiB) is
// written, added to total and shown as ProgressPosition(total, packageSize).
// A file that cannot be created or written, or a stream that fails, ends
// only this entry: what was written stays.
void InflateEntry(PackageInput& file, uint32_t dataLength, const char* outputPath, uint64_t& total,
                  uint32_t packageSize, ExtractTarget& target);

// The whole of ExtractPackage once the own file is open and measured: reads
// the layout, verifies the whole package, checks its modules against the
// running system's machine, and only then extracts it. kPackageDamaged or
// kPackageWrongMachine, with nothing written, when it must not be installed.
int ExtractPackageFile(PackageInput& file, uint32_t fileSize, const ExtractFolders& folders, NativeMachine machine,
                       ExtractTarget& target);

// Extracts every entry of a verified package in order, showing each output
// path before its file is written. kPackageDamaged when a header no longer
// reads as it did in the integrity pass; kPackageOk otherwise, whatever
// single entries did.
int ExtractEntries(PackageInput& file, const PackageLayout& layout, const ExtractFolders& folders,
                   ExtractTarget& target);
