#include "wizard_ui/picture_resource.h"

#include <string.h>

namespace {

static_assert(sizeof(BITMAPINFOHEADER) == kPictureHeaderSize, "the picture header is a BITMAPINFOHEADER");

// The rows are decoded straight into the section's own memory.
unsigned char* CreateSection(void* context, const unsigned char* header, int, int, size_t)
{
    BITMAPINFO info = {};
    memcpy(&info.bmiHeader, header, sizeof info.bmiHeader);
    void* bits = nullptr;
    HBITMAP* section = static_cast<HBITMAP*>(context);
    *section = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    return *section ? static_cast<unsigned char*>(bits) : nullptr;
}

}  // namespace

HBITMAP LoadPicture(UINT nIDResource, PictureDecoder decode)
{
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(nIDResource), RT_RCDATA);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* stored = loaded ? ::LockResource(loaded) : nullptr;
    HBITMAP section = nullptr;
    if (stored &&
        decode(static_cast<const unsigned char*>(stored), ::SizeofResource(module, found), CreateSection, &section))
        return section;
    if (section)
        ::DeleteObject(section);
    return nullptr;
}
