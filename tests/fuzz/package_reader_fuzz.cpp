// libFuzzer target: arbitrary bytes as the installer's own file. A package
// that passes the integrity pass and whose spooler modules are x64 images
// must extract every entry exactly once, each to a path directly inside its
// folder, and no write may happen otherwise.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "package/package_extraction.h"
#include "package/packed_machine.h"

namespace {

const ExtractFolders kFolders = {"C:\\Program Files\\VarnekPrinter", "C:\\ProgramData\\VarnekPrinter"};

// Windows' own reading of a name as a device: the part before the first dot,
// blanks stripped from its end, compared without case; COM and LPT take a
// digit 0-9 or a superscript ¹ ² ³ (code page 1252 bytes).
bool OpensADevice(const std::string& name)
{
    std::string base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    for (char& c : base)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (base == device)
            return true;
    }
    if (base.size() != 4 || (base.compare(0, 3, "COM") != 0 && base.compare(0, 3, "LPT") != 0))
        return false;
    const unsigned char digit = static_cast<unsigned char>(base[3]);
    return (digit >= '0' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
}

bool DirectlyInside(const std::string& path, const char* folder)
{
    const size_t n = strlen(folder);
    return path.compare(0, n, folder) == 0 && path.size() > n + 1 && path[n] == '\\' &&
           path.find_first_of("\\/:", n + 1) == std::string::npos && !OpensADevice(path.substr(n + 1));
}

class CheckingTarget : public ExtractTarget {
public:
    CreateResult Create(const char* path) override
    {
        const std::string p = path;
        if (!DirectlyInside(p, kFolders.installFolder) && !DirectlyInside(p, kFolders.dataFolder))
            abort();
        ++creates;
        open = true;
        return CreateResult::kCreated;
    }
    bool Write(const void*, uint32_t size) override
    {
        if (!open || size == 0 || size > kStreamBufferSize)
            abort();
        return true;
    }
    void Close() override { open = false; }
    void ShowStatus(const char*) override {}
    void SetProgress(int position) override
    {
        if (position < 0 || position > 100)
            abort();
    }
    uint64_t FreeBytes(const char*) override { return UINT64_MAX; }
    bool CreateReplacement(const char*) override { return false; }
    bool ScheduleReplacement(const char*) override { return false; }
    bool Exists(const char*) override { return false; }
    void EntryDone(const char*, InstallOutcome) override {}
    void EntryKept(const char*) override {}
    void BeforeWriting() override {}

    uint32_t creates = 0;
    bool open = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > UINT32_MAX)
        return 0;
    BufferInput input(data, size);
    PackageLayout layout;
    InflatedSize inflated;
    uint32_t end;
    const bool sound = FindPackageEnd(input, static_cast<uint32_t>(size), &end) &&
                       ReadPackageLayout(input, end, &layout) &&
                       VerifyPackage(input, layout, kFolders, &inflated) == InstallOutcome::kInstalled;
    // A sound package whose modules do not fit is refused as such.
    const bool fits = sound && PackedModulesFit(input, layout, NativeMachine::kX64);
    CheckingTarget target;
    const InstallOutcome result =
        ExtractPackageFile(input, static_cast<uint32_t>(size), kFolders, NativeMachine::kX64, target);
    if (fits != (result == InstallOutcome::kInstalled) ||
        (sound && !fits && result != InstallOutcome::kWrongArchitecture))
        abort();
    if (fits ? target.creates != layout.entryCount : target.creates != 0)
        abort();
    if (target.open)
        abort();
    return 0;
}
