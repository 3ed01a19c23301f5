// The streaming core of ExtractPackage, free of Windows calls: entries are
// read through PackageInput and written through ExtractTarget, so the same
// code runs in the installer, in native tests and in the benchmark.
#pragma once

#include <stdint.h>

#include "common/spooler_env.h"
#include "package/package_reader.h"

enum class CreateResult {
    kCreated,
    kInUse,   // an existing file another process holds open: replaced at the next restart
    kFailed,
};

// Where extracted files go and what the user sees meanwhile.
class ExtractTarget {
public:
    // Creates the output file, or truncates an existing one.
    virtual CreateResult Create(const char* path) = 0;
    // For a file in use: creates the file beside it that replaces it at the
    // next restart. Written and closed as one made by Create.
    virtual bool CreateReplacement(const char* path) = 0;
    // Has the file made by CreateReplacement replace path at the next restart.
    virtual bool ScheduleReplacement(const char* path) = 0;
    // Whether a file or folder of that path exists.
    virtual bool Exists(const char* path) = 0;
    // One written entry's result (kInstalled, kRestartNeeded when the new
    // file waits beside one in use, or a failure), after its file is closed.
    virtual void EntryDone(const char* path, InstallOutcome result) = 0;
    // The user's settings file, left as it is.
    virtual void EntryKept(const char* path) = 0;
    // Appends to the file made by Create; false on a failed or short write.
    virtual bool Write(const void* data, uint32_t size) = 0;
    virtual void Close() = 0;
    // The status line: the output path of the entry being written.
    virtual void ShowStatus(const char* path) = 0;
    // The progress bar, 0-100.
    virtual void SetProgress(int position) = 0;
    // Free bytes of the volume that holds folder; UINT64_MAX when unknown.
    virtual uint64_t FreeBytes(const char* folder) = 0;
    // Once the package passed every check, before the first file is written.
    virtual void BeforeWriting() = 0;

protected:
    ~ExtractTarget() = default;
};

// Inflates one entry of dataLength bytes from the current position of file
// into a new file at outputPath. Every produced buffer (at most 16 KiB) is
// written, added to total and shown as ProgressPosition(total, packageSize).
// A file that exists and is in use (an upgrade over a program still running)
// gets the new file beside it and kRestartNeeded. kWriteFailed when the file
// cannot be created, written in full or scheduled; what was written stays.
InstallOutcome InflateEntry(PackageInput& file, uint32_t dataLength, const char* outputPath, uint64_t& total,
                  uint32_t packageSize, ExtractTarget& target);

// The whole of ExtractPackage once the own file is open and measured: reads
// the layout, verifies the whole package, and only then extracts it. Every
// refusal comes before the first write: kPackageDamaged when the package is
// not sound, kWrongArchitecture when its modules are not built for this
// Windows, kPackageTooLarge past kMaxInflatedSize, kDiskFull when a target
// volume lacks the room. kWriteFailed stops at the first entry that cannot
// be written; kRestartNeeded when all were written but
// one or more replace a file in use at the next restart.
InstallOutcome ExtractPackageFile(PackageInput& file, uint32_t fileSize, const ExtractFolders& folders,
                                  NativeMachine machine, ExtractTarget& target);

// Extracts every entry of a verified package in order, showing each output
// path before its file is written. An existing settings file is the user's
// and is kept. kPackageDamaged when a header or stream no longer reads as it
// did in the integrity pass, kWriteFailed at the first entry that cannot be
// written, kRestartNeeded when an entry waits for the restart, kInstalled
// otherwise.
InstallOutcome ExtractEntries(PackageInput& file, const PackageLayout& layout, const ExtractFolders& folders,
                   ExtractTarget& target);
