#include "wizard_ui/wizard_wnd.h"

#include "wizard_ui/picture_resource.h"
#include "wizard_ui/wizard_ids.h"
#include "wizard_ui/wrap_text.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kPageColour = RGB(236, 233, 216);
const COLORREF kSeparatorColour = RGB(172, 168, 153);
const COLORREF kFrameColour = RGB(208, 208, 191);
const COLORREF kFrameCaptionColour = RGB(0, 70, 213);

// The face asked for exists on few systems; the font mapper substitutes one
// that has the glyphs of the ANSI code page (936 on Chinese Windows). Where
// that code page is another, the texts still are Simplified Chinese: the
// mapper is asked for a font of that character set instead.
const char kPageFontFace[] = "Ms Scanf";

// Welcome page: the side picture at the top left, the text to its right.
const int kWelcomeTextX = 200;
const int kWelcomeTextTop = 20;
const int kWelcomeHeadingStep = 30;
const int kWelcomeLineStep = 16;
const int kWelcomeWrapMargin = 10;

// Every other page: a white band with the logo and the title over the page colour.
const int kHeaderHeight = 54;
const int kLogoRightOffset = 154;
const int kTitleX = 15;
const int kTitleY = 10;
const int kParagraphX = 28;
const int kParagraphTop = 70;
const int kParagraphWrapMargin = 56;
const int kStatusX = 28;
const int kStatusY = 160;

// The frame around the folder box (installer) or the progress bar (uninstaller).
const RECT kFolderFrame = {26, 168, 453, 218};
const char kFolderFrameCaption[] = "目标文件夹";

BYTE PageFontCharset()
{
    return ::GetACP() == kTextCodePage ? ANSI_CHARSET : GB2312_CHARSET;
}

void CreatePageFont(CFont& font, int height, int weight, const char* face)
{
    font.CreateFont(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, PageFontCharset(), OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

void PutText(CDC& dc, int x, int y, const CString& text)
{
    dc.TextOut(x, y, text, text.GetLength());
}

// Copies a picture resource in its own size. One that cannot be loaded is
// left out: the rest of the page still paints.
void DrawPicture(CDC& dc, const WizardPages& pages, UINT nIDResource, int x, int y)
{
    CBitmap bitmap;
    bitmap.Attach(LoadPicture(nIDResource, pages.decodePicture));
    BITMAP info;
    if (!bitmap.m_hObject || !bitmap.GetBitmap(&info))
        return;
    CMemoryDC memory(&dc);
    if (!memory.m_hDC)
        return;
    HGDIOBJ previous = memory.SelectObject(bitmap);
    dc.BitBlt(x, y, info.bmWidth, info.bmHeight, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(previous);
}

int MeasureWithDC(const void* context, const char* text, int length)
{
    return static_cast<const CDC*>(context)->GetTextExtent(text, length).cx;
}

}  // namespace

// The drawing objects of one paint: created at its start, released at its
// end, nothing kept between paints.
struct CWizardWnd::PaintTools {
    PaintTools() : separator(PS_SOLID, 1, kSeparatorColour)
    {
        CreatePageFont(heading, 23, 800, kPageFontFace);
        CreatePageFont(body, 15, 400, kPageFontFace);
        CreatePageFont(title, 15, 800, kPageFontFace);
    }
    CFont heading, body, title;
    CPen separator;
};

CWizardWnd::CWizardWnd(const WizardPages& pages) : m_pages(pages)
{
    ::InitializeCriticalSection(&m_statusLock);
    lstrcpyW(m_status, L"请稍候...");
}

CWizardWnd::~CWizardWnd()
{
    ::DeleteCriticalSection(&m_statusLock);
}

BOOL CWizardWnd::Create(CWnd* pParentWnd, const RECT& rect)
{
    LPCWSTR className = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                           static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)), nullptr);
    return CreateEx(0, className, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect,
                    pParentWnd, 0);
}

void CWizardWnd::ShowFolderControls(BOOL bShow)
{
    if (m_editFolder.m_hWnd) {
        m_editFolder.ShowWindow(bShow ? SW_SHOW : SW_HIDE);
        InvalidateRect(nullptr, FALSE);
    } else {
        InvalidateRect(nullptr, TRUE);
    }
    UpdateWindow();
}

void CWizardWnd::StoreStatus(const char* text, UINT codePage)
{
    ::EnterCriticalSection(&m_statusLock);
    ToWide(codePage, text, -1, m_status, kWideTextSize);
    ::LeaveCriticalSection(&m_statusLock);
}

void CWizardWnd::PaintStatus(CDC& dc, int x, int y)
{
    // The worker stores only between paints (it waits for its repaint
    // outside the lock), so drawing under the lock holds it up at most as
    // long as one line takes.
    ::EnterCriticalSection(&m_statusLock);
    dc.TextOut(x, y, m_status, lstrlenW(m_status));
    ::LeaveCriticalSection(&m_statusLock);
}

void CWizardWnd::WrapText(CDC* pDC, const char* text, CStringArray& lines, int maxWidth)
{
    WrapTextLines(text, lines, maxWidth, MeasureWithDC, pDC);
}

void CWizardWnd::DrawGroupFrame(CDC* pDC, int left, int top, int right, int bottom, CString caption,
                                CFont* pFont)
{
    CFont fallback;
    if (!pFont) {
        CreatePageFont(fallback, 14, FW_NORMAL, "Arial");
        pFont = &fallback;
    }
    HGDIOBJ previousFont = pDC->SelectObject(*pFont);
    const SIZE extent = pDC->GetTextExtent(caption, caption.GetLength());
    pDC->SetBkMode(TRANSPARENT);
    COLORREF previousColour = pDC->SetTextColor(kFrameCaptionColour);
    PutText(*pDC, left + 8, top - extent.cy / 2, caption);
    pDC->SetTextColor(previousColour);

    const int L = left, T = top, R = right, B = bottom, cx = extent.cx;
    // Each segment's end point is not drawn; the top edge leaves the
    // caption's columns and one pixel to their left open.
    const POINT segments[][2] = {
        {{L + 2, T}, {L + 7, T}},
        {{L + cx + 8, T}, {R - 2, T}},
        {{L + 1, T + 1}, {L + 2, T + 1}},
        {{L, T + 2}, {L + 1, T + 2}},
        {{L, T + 2}, {L, B - 2}},
        {{L, B - 2}, {L + 1, B - 2}},
        {{L + 1, B - 1}, {L + 2, B - 1}},
        {{L + 2, B}, {R - 2, B}},
        {{R - 2, B - 1}, {R - 1, B - 1}},
        {{R - 1, B - 2}, {R, B - 2}},
        {{R, B - 3}, {R, T + 2}},
        {{R - 1, T + 2}, {R, T + 2}},
        {{R - 2, T + 1}, {R - 1, T + 1}},
    };
    CPen pen(PS_SOLID, 1, kFrameColour);
    HGDIOBJ previousPen = pDC->SelectObject(pen);
    for (const POINT* segment : segments) {
        pDC->MoveTo(segment[0].x, segment[0].y);
        pDC->LineTo(segment[1].x, segment[1].y);
    }
    pDC->SelectObject(previousPen);
    pDC->SelectObject(previousFont);
}

void CWizardWnd::OnPaint()
{
    CPaintDC dc(this);
    RECT client;
    GetClientRect(&client);
    PaintTools tools;
    const HGDIOBJ originalFont = ::GetCurrentObject(dc, OBJ_FONT);
    dc.SetBkMode(TRANSPARENT);

    const WizardPage* page = m_nPage >= 0 && m_nPage < m_pages.count ? &m_pages.pages[m_nPage] : nullptr;
    if (!page || !page->title) {
        // The welcome page and any index past the pages show the white class
        // background; the controllers also repaint without erasing, so it is
        // filled here, or the previous page would show through.
        dc.FillSolidRect(client, kWhite);
    }
    if (page && page->title)
        PaintHeaderPage(dc, client, *page, tools);
    else if (page)
        PaintWelcomePage(dc, client, *page, tools);
    dc.SelectObject(originalFont);
}

void CWizardWnd::PaintWelcomePage(CDC& dc, const RECT& client, const WizardPage& page, PaintTools& tools)
{
    DrawPicture(dc, m_pages, m_pages.sidePictureId, 0, 0);

    // The whole text is broken with the heading font, the first line its heading.
    dc.SelectObject(tools.heading);
    CStringArray lines;
    WrapText(&dc, page.paragraphs[0], lines, client.right - kWelcomeWrapMargin);
    int y = kWelcomeTextTop;
    for (int i = 0; i < lines.GetSize(); ++i) {
        dc.SelectObject(i == 0 ? tools.heading : tools.body);
        PutText(dc, kWelcomeTextX, y, lines[i]);
        y += i == 0 ? kWelcomeHeadingStep : kWelcomeLineStep;
    }
}

void CWizardWnd::PaintHeaderPage(CDC& dc, const RECT& client, const WizardPage& page, PaintTools& tools)
{
    dc.FillSolidRect(client, kPageColour);
    RECT band = {client.left, client.top, client.right, kHeaderHeight};
    dc.FillSolidRect(band, kWhite);
    DrawPicture(dc, m_pages, m_pages.logoPictureId, client.right - kLogoRightOffset, 0);
    HGDIOBJ previousPen = dc.SelectObject(tools.separator);
    dc.MoveTo(0, kHeaderHeight);
    dc.LineTo(client.right, kHeaderHeight);
    dc.SelectObject(previousPen);

    dc.SelectObject(tools.title);
    PutText(dc, kTitleX, kTitleY, page.title);

    int y = kParagraphTop;
    for (const char* paragraph : page.paragraphs) {
        if (!paragraph)
            break;
        dc.SelectObject(tools.body);
        CStringArray lines;
        WrapText(&dc, paragraph, lines, client.right - kParagraphWrapMargin);
        for (int i = 0; i < lines.GetSize(); ++i) {
            PutText(dc, kParagraphX, y, lines[i]);
            y += page.lineStep;
        }
        y += page.paragraphGap;
    }

    if (page.extra == PageExtra::kFolderFrame) {
        DrawGroupFrame(&dc, kFolderFrame.left, kFolderFrame.top, kFolderFrame.right, kFolderFrame.bottom,
                       kFolderFrameCaption, &tools.body);
    } else if (page.extra == PageExtra::kStatusLine) {
        dc.SelectObject(tools.body);
        PaintStatus(dc, kStatusX, kStatusY);
    }
}
