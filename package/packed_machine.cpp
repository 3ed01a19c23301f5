#include "package/packed_machine.h"

#include <string.h>

#include "common/product.h"

namespace {

// The PE header lies within the first page of every image a linker makes.
constexpr uint32_t kHeaderBytes = 4096;

uint32_t Little32(const unsigned char* bytes)
{
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

bool SameAsciiName(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b) {
        char x = *a >= 'a' && *a <= 'z' ? *a - 'a' + 'A' : *a;
        char y = *b >= 'a' && *b <= 'z' ? *b - 'a' + 'A' : *b;
        if (x != y)
            return false;
    }
    return *a == *b;
}

bool IsNativeModule(const char* name)
{
    for (const ProductMember& member : kProductMembers) {
        if (member.machineCheck != MachineCheck::kNone && SameAsciiName(name, member.name))
            return true;
    }
    return false;
}

// Keeps the first kHeaderBytes of an entry, then stops the inflation.
class HeaderSink : public InflateSink {
public:
    bool Consume(const unsigned char* data, uint32_t size) override
    {
        const uint32_t take = size < kHeaderBytes - m_size ? size : kHeaderBytes - m_size;
        memcpy(m_bytes + m_size, data, take);
        m_size += take;
        return m_size < kHeaderBytes;
    }

    const unsigned char* Bytes() const { return m_bytes; }
    uint32_t Size() const { return m_size; }

private:
    unsigned char m_bytes[kHeaderBytes];
    uint32_t m_size = 0;
};

}  // namespace

uint16_t PeMachineFor(NativeMachine machine)
{
    switch (machine) {
    case NativeMachine::kX86:
        return kPeMachineI386;
    case NativeMachine::kX64:
        return kPeMachineAmd64;
    default:
        return 0;
    }
}

uint16_t PeMachineOf(const unsigned char* image, size_t size)
{
    if (size < 0x40 || image[0] != 'M' || image[1] != 'Z')
        return 0;
    const uint32_t pe = Little32(image + 0x3C);
    if (pe > size || size - pe < 6 || memcmp(image + pe, "PE\0\0", 4) != 0)
        return 0;
    return static_cast<uint16_t>(image[pe + 4] | image[pe + 5] << 8);
}

bool PackedModulesFit(PackageInput& input, const PackageLayout& layout, NativeMachine machine)
{
    const uint16_t wanted = PeMachineFor(machine);
    if (wanted == 0)
        return false;
    uint32_t position = layout.firstEntry;
    for (uint32_t i = 0; i < layout.entryCount; ++i) {
        EntryHeader header;
        if (!ReadEntryHeader(input, layout, position, &header))
            return false;
        position = header.dataOffset + header.dataLength;
        if (!IsNativeModule(header.name))
            continue;
        HeaderSink sink;
        InflateStream(input, header.dataLength, sink, InstallOutcome::kInstalled);
        // What is no image at all would not load either: refused alike.
        if (PeMachineOf(sink.Bytes(), sink.Size()) != wanted)
            return false;
    }
    return true;
}
