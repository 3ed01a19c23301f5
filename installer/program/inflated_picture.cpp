#include "installer/program/inflated_picture.h"

#include <string.h>

#include "package/package_reader.h"

namespace {

// Collects the header, asks rows() for room once it is checked, then fills
// the room; refuses a byte past the last row.
class PictureSink : public InflateSink {
public:
    PictureSink(PictureRowsFn rows, void* context) : m_rows(rows), m_context(context) {}

    bool Consume(const unsigned char* data, uint32_t size) override
    {
        while (size > 0) {
            if (m_headerFill < kPictureHeaderSize) {
                const size_t take = Smaller(size, kPictureHeaderSize - m_headerFill);
                memcpy(m_header + m_headerFill, data, take);
                m_headerFill += take;
                data += take;
                size -= static_cast<uint32_t>(take);
                if (m_headerFill == kPictureHeaderSize && !StartRows())
                    return false;
                continue;
            }
            if (size > m_roomSize - m_roomFill)
                return false;
            memcpy(m_room + m_roomFill, data, size);
            m_roomFill += size;
            size = 0;
        }
        return true;
    }

    bool Complete() const { return m_room && m_roomFill == m_roomSize; }

private:
    static size_t Smaller(uint32_t a, size_t b) { return a < b ? a : b; }

    bool StartRows()
    {
        int width, height;
        if (!ReadPictureHeader(m_header, &width, &height))
            return false;
        m_roomSize = PictureStride(width) * height;
        m_room = m_rows(m_context, m_header, width, height, m_roomSize);
        return m_room != nullptr;
    }

    const PictureRowsFn m_rows;
    void* const m_context;
    unsigned char m_header[kPictureHeaderSize];
    size_t m_headerFill = 0;
    unsigned char* m_room = nullptr;
    size_t m_roomSize = 0;
    size_t m_roomFill = 0;
};

}  // namespace

bool InflatePicture(const unsigned char* deflated, size_t deflatedSize, PictureRowsFn rows, void* context)
{
    // The stream must end exactly after the last row, its checksum verified.
    if (deflatedSize > UINT32_MAX)
        return false;
    BufferInput input(deflated, deflatedSize);
    PictureSink sink(rows, context);
    return InflateStream(input, static_cast<uint32_t>(deflatedSize), sink, InstallOutcome::kPackageDamaged) ==
               InstallOutcome::kInstalled &&
           sink.Complete();
}
