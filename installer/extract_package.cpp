#include "installer/extract_package.h"

#include <windows.h>

#include "common/path_text.h"
#include "common/spooler_env.h"
#include "installer/data_folder.h"
#include "installer/package_extraction.h"

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

// Output files and what the user sees of them.
class FileTarget : public ExtractTarget {
public:
    explicit FileTarget(InstallProgress& progress) : m_progress(progress) {}

    CreateResult Create(const char* path) override
    {
        m_hFile = ::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
        if (m_hFile != INVALID_HANDLE_VALUE)
            return CreateResult::kCreated;
        // A running program or a file held open elsewhere; a folder of that
        // name or a read-only file gives ERROR_ACCESS_DENIED instead.
        return ::GetLastError() == ERROR_SHARING_VIOLATION ? CreateResult::kInUse : CreateResult::kFailed;
    }

    bool Write(const void* data, uint32_t size) override
    {
        DWORD written = 0;
        return ::WriteFile(m_hFile, data, size, &written, nullptr) && written == size;
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
    InstallProgress& m_progress;
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
};

int ExtractOpenPackage(HANDLE hFile, uint32_t fileSize, const char* installFolder, InstallProgress& progress)
{
    const ExtractFolders folders = {installFolder, g_szDataDir};
    FileInput input(hFile);
    FileTarget target(progress);
    return ExtractPackageFile(input, fileSize, folders, CurrentNativeMachine(), target);
}

HANDLE g_ownFile = INVALID_HANDLE_VALUE;

}  // namespace

OwnFileHold::OwnFileHold()
{
    char path[kPathBufferSize];
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    // A path that filled the buffer may have been cut short.
    if (length == 0 || length >= sizeof path)
        return;
    // Shared for reading only: nobody may write, rename or delete the file
    // while the installer runs, so the package extracted is the one started.
    g_ownFile = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
}

OwnFileHold::~OwnFileHold()
{
    if (g_ownFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(g_ownFile);
    g_ownFile = INVALID_HANDLE_VALUE;
}

InstallOutcome ExtractPackage(const char* installFolder, InstallProgress& progress)
{
    LARGE_INTEGER size;
    if (g_ownFile == INVALID_HANDLE_VALUE || !::GetFileSizeEx(g_ownFile, &size))
        return ExtractionOutcome(kPackageUnreadable);
    // The format's offsets are 32-bit: a larger file is no package of ours.
    if (size.QuadPart > UINT32_MAX)
        return ExtractionOutcome(kPackageDamaged);
    return ExtractionOutcome(ExtractOpenPackage(g_ownFile, static_cast<uint32_t>(size.QuadPart), installFolder, progress));
}
