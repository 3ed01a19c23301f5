#include "package/package_extraction.h"

#include "common/path_text.h"
#include "package/packed_machine.h"

namespace {

// Writes each inflated buffer and moves the progress bar once per buffer.
class ProgressWriter : public InflateSink {
public:
    ProgressWriter(ExtractTarget& target, uint64_t& total, uint32_t packageSize)
        : m_target(target), m_total(total), m_packageSize(packageSize) {}

    bool Consume(const unsigned char* data, uint32_t size) override
    {
        if (!m_target.Write(data, size))
            return false;
        m_total += size;
        m_target.SetProgress(ProgressPosition(m_total, m_packageSize));
        return true;
    }

private:
    ExtractTarget& m_target;
    uint64_t& m_total;
    const uint32_t m_packageSize;
};

// Inflates into the file the target has just made and closes it.
InstallOutcome WriteEntry(PackageInput& file, uint32_t dataLength, uint64_t& total, uint32_t packageSize,
                          ExtractTarget& target)
{
    ProgressWriter writer(target, total, packageSize);
    const InstallOutcome inflated = dataLength > 0
                                        ? InflateStream(file, dataLength, writer, InstallOutcome::kWriteFailed)
                                        : InstallOutcome::kInstalled;
    target.Close();
    return inflated;
}

}  // namespace

InstallOutcome InflateEntry(PackageInput& file, uint32_t dataLength, const char* outputPath, uint64_t& total,
                            uint32_t packageSize, ExtractTarget& target)
{
    InstallOutcome result = InstallOutcome::kWriteFailed;
    switch (target.Create(outputPath)) {
    case CreateResult::kCreated:
        result = WriteEntry(file, dataLength, total, packageSize, target);
        break;
    case CreateResult::kInUse:
        // Never left as the old file while reported installed.
        if (target.CreateReplacement(outputPath)) {
            result = WriteEntry(file, dataLength, total, packageSize, target);
            if (result == InstallOutcome::kInstalled)
                result = target.ScheduleReplacement(outputPath) ? InstallOutcome::kRestartNeeded
                                                                : InstallOutcome::kWriteFailed;
        }
        break;
    case CreateResult::kFailed:
        break;
    }
    return result;
}

InstallOutcome ExtractEntries(PackageInput& file, const PackageLayout& layout, const ExtractFolders& folders,
                              ExtractTarget& target)
{
    uint64_t total = 0;
    InstallOutcome outcome = InstallOutcome::kInstalled;
    uint32_t position = layout.firstEntry;
    for (uint32_t i = 0; i < layout.entryCount; ++i) {
        EntryHeader header;
        char path[kPathBufferSize];
        if (!ReadEntryHeader(file, layout, position, &header) ||
            !ComposeEntryPath(path, sizeof path, folders, header.name))
            return InstallOutcome::kPackageDamaged;
        target.ShowStatus(path);
        position = header.dataOffset + header.dataLength;
        // The settings file holds the user's print settings once installed.
        if (IsSettingsEntry(header.name) && target.Exists(path)) {
            target.EntryKept(path);
            continue;
        }
        const InstallOutcome result = InflateEntry(file, header.dataLength, path, total, layout.packageSize, target);
        target.EntryDone(path, result);
        if (result == InstallOutcome::kRestartNeeded)
            outcome = result;
        else if (result != InstallOutcome::kInstalled)
            return result;
    }
    return outcome;
}

namespace {

// Each volume must hold what goes to it. Whether the two folders share a
// volume is not asked: the installation folder's volume is asked for both,
// which is exact when they share one and a few bytes too many otherwise.
bool HasRoom(ExtractTarget& target, const ExtractFolders& folders, const InflatedSize& size)
{
    return target.FreeBytes(folders.installFolder) >= size.installFolder + size.dataFolder &&
           target.FreeBytes(folders.dataFolder) >= size.dataFolder;
}

}  // namespace

InstallOutcome ExtractPackageFile(PackageInput& file, uint32_t fileSize, const ExtractFolders& folders,
                                  NativeMachine machine, ExtractTarget& target)
{
    uint32_t packageEnd;
    PackageLayout layout;
    if (!FindPackageEnd(file, fileSize, &packageEnd) || !ReadPackageLayout(file, packageEnd, &layout))
        return InstallOutcome::kPackageDamaged;
    InflatedSize size;
    const InstallOutcome verified = VerifyPackage(file, layout, folders, &size);
    if (verified != InstallOutcome::kInstalled)
        return verified;
    if (!PackedModulesFit(file, layout, machine))
        return InstallOutcome::kWrongArchitecture;
    if (!HasRoom(target, folders, size))
        return InstallOutcome::kDiskFull;
    target.BeforeWriting();
    return ExtractEntries(file, layout, folders, target);
}
