#include "framework/gdi.h"

#include "common/chinese_text.h"
#include "framework/window.h"

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    BOOL deleted = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return deleted;
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                       BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                       BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality,
                       BYTE nPitchAndFamily, LPCSTR lpszFacename)
{
    DeleteObject();
    m_hObject = ::CreateFontA(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic,
                              bUnderline, cStrikeOut, nCharSet, nOutPrecision, nClipPrecision,
                              nQuality, nPitchAndFamily, lpszFacename);
    return m_hObject != nullptr;
}

void CBitmap::Attach(HBITMAP hBitmap)
{
    DeleteObject();
    m_hObject = hBitmap;
}

BOOL CDC::TextOut(int x, int y, const char* text, int nCount)
{
    WideText wide(text, nCount);
    return ::TextOutW(m_hDC, x, y, wide, wide.Length());
}

SIZE CDC::GetTextExtent(const char* text, int nCount) const
{
    SIZE size = {0, 0};
    WideText wide(text, nCount);
    ::GetTextExtentPoint32W(m_hDC, wide, wide.Length(), &size);
    return size;
}

void CDC::FillSolidRect(const RECT& rect, COLORREF crColor)
{
    // ExtTextOut with ETO_OPAQUE fills with the background colour, no brush needed.
    COLORREF previous = ::SetBkColor(m_hDC, crColor);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, previous);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd)
{
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
}
