#include "installer/steps/extract_package.h"

#include <windows.h>

#include "common/path_text.h"
#include "common/spooler_env.h"
#include "common/step_log.h"
#include "installer/steps/file_moves.h"
#include "installer/steps/printer_service.h"
#include "package/package_extraction.h"

namespace {

class FileInput : public PackageInput {
public:
    explicit FileInput(HANDLE hFile) : m_hFile(hFile) {}

    bool Seek(uint32_t offset) override
    {
        LARGE_INTEGER position;
        position.QuadPart = offset;
        return ::SetFilePointerEx(m_hFile, position, nullptr, FILE_BEGIN) != FALSE;
    }

    int32_t Read(void* buffer, uint32_t size) override
    {
        DWORD got = 0;
        if (!::ReadFile(m_hFile, buffer, size, &got, nullptr))
            return -1;
        return static_cast<int32_t>(got);
    }

private:
    HANDLE m_hFile;
};

// Output files, what the user sees of them, and a log line per entry.
class FileTarget : public ExtractTarget {
public:
    FileTarget(InstallProgress& progress, bool& serviceStopped)
        : m_progress(progress), m_serviceStopped(serviceStopped) {}

    // An upgrade: the running service holds its program open.
    void BeforeWriting() override { StopPrinterService(m_serviceStopped); }

    CreateResult Create(const char* path) override
    {
        if (Open(path))
            return CreateResult::kCreated;
        // A running program or a file held open elsewhere; a folder of that
        // name or a read-only file gives ERROR_ACCESS_DENIED instead.
        if (!IsInUseError(m_error))
            return CreateResult::kFailed;
        m_inUseError = m_error;
        return CreateResult::kInUse;
    }

    bool CreateReplacement(const char* path) override
    {
        char replacement[kPathBufferSize];
        return ComposeReplacementPath(replacement, sizeof replacement, path) && Open(replacement);
    }

    bool ScheduleReplacement(const char* path) override
    {
        char replacement[kPathBufferSize];
        if (!ComposeReplacementPath(replacement, sizeof replacement, path))
            return false;
        if (ReplaceAtRestart(replacement, path, m_error))
            return true;
        ::DeleteFileA(replacement);
        return false;
    }

    bool Exists(const char* path) override { return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

    void EntryDone(const char* path, InstallOutcome result) override
    {
        switch (result) {
        case InstallOutcome::kInstalled:
            LogStep("extract", path, "ok", 0);
            break;
        case InstallOutcome::kRestartNeeded:
            LogStep("extract", path, "in use, replaced at restart", m_inUseError);
            break;
        default:
            LogStep("extract", path, "failed", m_error);
            break;
        }
        m_error = ERROR_SUCCESS;
    }

    void EntryKept(const char* path) override { LogStep("extract", path, "kept", 0); }

    bool Write(const void* data, uint32_t size) override
    {
        DWORD written = 0;
        if (::WriteFile(m_hFile, data, size, &written, nullptr) && written == size)
            return true;
        m_error = written == size ? ::GetLastError() : ERROR_DISK_FULL;
        return false;
    }

    void Close() override
    {
        ::CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }

    void ShowStatus(const char* path) override { m_progress.ShowPath(path); }
    void SetProgress(int position) override { m_progress.SetProgress(position); }

    uint64_t FreeBytes(const char* folder) override
    {
        ULARGE_INTEGER available;
        return ::GetDiskFreeSpaceExA(folder, &available, nullptr, nullptr) ? available.QuadPart : UINT64_MAX;
    }

private:
    bool Open(const char* path)
    {
        m_hFile = ::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
        m_error = m_hFile == INVALID_HANDLE_VALUE ? ::GetLastError() : ERROR_SUCCESS;
        return m_hFile != INVALID_HANDLE_VALUE;
    }

    InstallProgress& m_progress;
    bool& m_serviceStopped;
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    unsigned long m_error = ERROR_SUCCESS;       // of the last failed call, for the log
    unsigned long m_inUseError = ERROR_SUCCESS;  // why the last file in use could not be opened
};

InstallOutcome ExtractOpenPackage(HANDLE hFile, uint32_t fileSize, const Installation& installation,
                                  InstallProgress& progress, bool& serviceStopped)
{
    const ExtractFolders folders = {installation.folder, installation.dataFolder};
    FileInput input(hFile);
    FileTarget target(progress, serviceStopped);
    return ExtractPackageFile(input, fileSize, folders, CurrentNativeMachine(), target);
}

// The installer's own file, opened when the program starts and held until it
// ends. Shared for reading only: nobody may write, rename or delete the file
// while the installer runs, so the package extracted is the one started.
class OwnFileHold {
public:
    OwnFileHold()
    {
        // UTF-16: the folder it was started from need not fit the ANSI code page.
        wchar_t path[kPathBufferSize];
        DWORD length = ::GetModuleFileNameW(nullptr, path, kPathBufferSize);
        // A path that filled the buffer may have been cut short.
        if (length > 0 && length < kPathBufferSize)
            m_file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                   nullptr);
    }
    ~OwnFileHold()
    {
        if (m_file != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_file);
    }
    OwnFileHold(const OwnFileHold&) = delete;
    OwnFileHold& operator=(const OwnFileHold&) = delete;

    HANDLE File() const { return m_file; }

private:
    HANDLE m_file = INVALID_HANDLE_VALUE;
};

// Before anything else of the program runs, as closely to the start as a
// program gets.
const OwnFileHold g_ownFile;

}  // namespace

InstallOutcome ExtractPackage(const Installation& installation, InstallProgress& progress, bool& serviceStopped)
{
    serviceStopped = false;
    LARGE_INTEGER size;
    const HANDLE file = g_ownFile.File();
    if (file == INVALID_HANDLE_VALUE || !::GetFileSizeEx(file, &size))
        return InstallOutcome::kPackageDamaged;
    // The format's offsets are 32-bit: a larger file is no package of ours.
    if (size.QuadPart > UINT32_MAX)
        return InstallOutcome::kPackageDamaged;
    return ExtractOpenPackage(file, static_cast<uint32_t>(size.QuadPart), installation, progress, serviceStopped);
}
