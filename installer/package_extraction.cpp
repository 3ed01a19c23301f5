#include "installer/package_extraction.h"

#include "common/path_text.h"
#include "installer/packed_machine.h"

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

}  // namespace

void InflateEntry(PackageInput& file, uint32_t dataLength, const char* outputPath, uint64_t& total,
                  uint32_t packageSize, ExtractTarget& target)
{
    z_stream stream = {};
    if (inflateInit(&stream) != Z_OK)
        return;
    if (target.Create(outputPath)) {
        ProgressWriter writer(target, total, packageSize);
        InflateStream(stream, file, dataLength, writer);
        target.Close();
    }
    inflateEnd(&stream);
}

int ExtractEntries(PackageInput& file, const PackageLayout& layout, const ExtractFolders& folders,
                   ExtractTarget& target)
{
    uint64_t total = 0;
    uint32_t position = layout.firstEntry;
    for (uint32_t i = 0; i < layout.entryCount; ++i) {
        EntryHeader header;
        char path[kPathBufferSize];
        if (!ReadEntryHeader(file, layout, position, &header) ||
            !ComposeEntryPath(path, sizeof path, folders, header.name))
            return kPackageDamaged;
        target.ShowStatus(path);
        InflateEntry(file, header.dataLength, path, total, layout.packageSize, target);
        position = header.dataOffset + header.dataLength;
    }
    return kPackageOk;
}

int ExtractPackageFile(PackageInput& file, uint32_t fileSize, const ExtractFolders& folders, NativeMachine machine,
                       ExtractTarget& target)
{
    PackageLayout layout;
    if (!ReadPackageLayout(file, fileSize, &layout) || !VerifyPackage(file, layout, folders))
        return kPackageDamaged;
    if (!PackedModulesFit(file, layout, machine))
        return kPackageWrongMachine;
    return ExtractEntries(file, layout, folders, target);
}
