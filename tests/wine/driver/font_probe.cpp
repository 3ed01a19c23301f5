// font_probe EXE DIALOG_ID: the metrics a program's dialog template gets in
// this prefix, as JSON: the dialog base units (MapDialogRect of 4 x 8 units,
// what every control of the template is placed by), the face and metrics of
// the dialog's font, the system's base units (GetDialogBaseUnits), the faces,
// families and character sets that the page fonts' "Ms Scanf" and the caption
// buttons' "Marlett" resolve to. Exit code 0, 2 when the template cannot be
// loaded, 3 for bad usage.
#include <stdlib.h>
#include <windows.h>
#include <commctrl.h>

#include "common/chinese_text.h"
#include "tests/wine/sysprobe/json_out.h"

namespace {

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

void NumberPair(const char* key, LONG first, LONG second)
{
    Json::Key(key);
    Json::BeginArray();
    Json::Number(static_cast<DWORD>(first));
    Json::Number(static_cast<DWORD>(second));
    Json::EndArray();
}

// Face, family, cell height, average character width and character set of a
// font as drawn on dc. The face is the name asked for where a substitute
// answers to it; the family is the font file's own (empty for a bitmap font).
void FontFields(const char* key, HDC dc, HFONT font)
{
    HGDIOBJ previous = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = L"";
    GetTextFaceW(dc, LF_FACESIZE, face);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    static char outline[2048];
    const wchar_t* family = L"";
    const UINT size = GetOutlineTextMetricsW(dc, 0, nullptr);
    if (size && size <= sizeof(outline) &&
        GetOutlineTextMetricsW(dc, size, reinterpret_cast<OUTLINETEXTMETRICW*>(outline))) {
        const auto* names = reinterpret_cast<const OUTLINETEXTMETRICW*>(outline);
        family = reinterpret_cast<const wchar_t*>(outline + reinterpret_cast<UINT_PTR>(names->otmpFamilyName));
    }
    SelectObject(dc, previous);
    Json::Key(key);
    Json::BeginObject();
    Json::Field("face", face);
    Json::Field("family", family);
    Json::Field("height", static_cast<DWORD>(metrics.tmHeight));
    Json::Field("average_width", static_cast<DWORD>(metrics.tmAveCharWidth));
    Json::Field("charset", static_cast<DWORD>(metrics.tmCharSet));
    Json::EndObject();
}

HFONT CreateFace(int height, int weight, BYTE charset, const wchar_t* face)
{
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 3)
        return 3;
    InitCommonControls();
    HMODULE image = LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = image ? FindResourceW(image, MAKEINTRESOURCEW(_wtoi(argv[2])), MAKEINTRESOURCEW(5)) : nullptr;
    HGLOBAL loaded = found ? LoadResource(image, found) : nullptr;
    auto* dialogTemplate = loaded ? static_cast<const DLGTEMPLATE*>(LockResource(loaded)) : nullptr;
    HWND dialog = dialogTemplate ? CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate, nullptr,
                                                              QuietDialog, 0)
                                 : nullptr;
    if (!dialog)
        return 2;

    RECT units = {0, 0, 4, 8};
    MapDialogRect(dialog, &units);
    const LONG system = GetDialogBaseUnits();
    HDC dc = GetDC(dialog);
    // The character set the page window asks for (wizard_ui/wizard_wnd.cpp):
    // the system's own where its ANSI code page is the texts', else GB2312.
    const BYTE pageCharset = GetACP() == kTextCodePage ? ANSI_CHARSET : GB2312_CHARSET;
    HFONT pageBody = CreateFace(15, FW_NORMAL, pageCharset, L"Ms Scanf");
    HFONT pageHeading = CreateFace(23, 800, pageCharset, L"Ms Scanf");
    HFONT marlett = CreateFace(-13, FW_NORMAL, SYMBOL_CHARSET, L"Marlett");

    Json::BeginObject();
    NumberPair("base_units", units.right, units.bottom);
    NumberPair("system_base_units", LOWORD(system), HIWORD(system));
    FontFields("dialog_font", dc, reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    FontFields("page_body_font", dc, pageBody);
    FontFields("page_heading_font", dc, pageHeading);
    FontFields("caption_button_font", dc, marlett);
    Json::EndObject();
    Json::End();

    DeleteObject(marlett);
    DeleteObject(pageHeading);
    DeleteObject(pageBody);
    ReleaseDC(dialog, dc);
    DestroyWindow(dialog);
    FreeLibrary(image);
    return 0;
}
