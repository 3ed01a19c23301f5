// The streaming core of ExtractPackage, free of Windows calls: entries are
// read through PackageInput and written through ExtractTarget, so the same
// code runs in the installer, in native tests and in the benchmark.
#pragma once

#include <stdint.h>

#include "common/spooler_env.h"
#include "installer/install_outcome.h"
#include "payload/format/package_reader.h"

enum class CreateResult {
    kCreated,
    kInUse,   // an existing file another process holds open: it stays as it is
    kFailed,
};

// Where extracted files go and what the user sees meanwhile.
class ExtractTarget {
public:
    // Creates the output file, or truncates an existing one.
    virtual CreateResult Create(const char* path) = 0;
    // Appends to the file made by Create; false on a failed or short write.
    virtual bool Write(const void* data, uint32_t size) = 0;
    virtual void Close() = 0;
    // The status line: the output path of the entry being written.
    virtual void ShowStatus(const char* path) = 0;
    // The progress bar, 0-100.
    virtual void SetProgress(int position) = 0;
    // Free bytes of the volume that holds folder; UINT64_MAX when unknown.
    virtual uint64_t FreeBytes(const char* folder) = 0;

protected:
    ~ExtractTarget() = default;
};

// Inflates one entry of dataLength bytes from the current position of file
// into a new file at outputPath. Every produced buffer (at most 16 KiB) is
// written, added to total and shown as ProgressPosition(total, packageSize).
// kPackageOk also when the file exists and is in use (a reinstallation over
// the running service): it is skipped and stays. kPackageWriteFailed when the
// file cannot be created or written in full; what was written stays.
int InflateEntry(PackageInput& file, uint32_t dataLength, const char* outputPath, uint64_t& total,
                  uint32_t packageSize, ExtractTarget& target);

// The whole of ExtractPackage once the own file is open and measured: reads
// the layout, verifies the whole package, and only then extracts it. Every
// refusal comes before the first write: kPackageDamaged when the package is
// not sound, kPackageWrongMachine when its modules are not built for
// this Windows, kPackageTooLarge past kMaxInflatedSize, kPackageDiskFull when a
// target volume lacks the room. kPackageWriteFailed stops at the first entry
// that cannot be written.
int ExtractPackageFile(PackageInput& file, uint32_t fileSize, const ExtractFolders& folders, NativeMachine machine,
                       ExtractTarget& target);

// Extracts every entry of a verified package in order, showing each output
// path before its file is written. kPackageDamaged when a header or stream
// no longer reads as it did in the integrity pass, kPackageWriteFailed at the
// first entry that cannot be written, kPackageOk otherwise.
int ExtractEntries(PackageInput& file, const PackageLayout& layout, const ExtractFolders& folders,
                   ExtractTarget& target);

// The outcome the wizard and the silent mode show for a result of the above.
InstallOutcome ExtractionOutcome(int result);
