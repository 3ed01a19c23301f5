// GDI wrappers: objects that release what they created, and device contexts.
#pragma once

#include <windows.h>

class CWnd;

// A GDI object owned by its wrapper and deleted with it.
class CGdiObject {
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    ~CGdiObject() { DeleteObject(); }

    BOOL DeleteObject();
    HGDIOBJ m_hObject = nullptr;
};

class CFont : public CGdiObject {
public:
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                    BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                    BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality,
                    BYTE nPitchAndFamily, LPCSTR lpszFacename);
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class CPen : public CGdiObject {
public:
    CPen(int nPenStyle, int nWidth, COLORREF crColor) { m_hObject = ::CreatePen(nPenStyle, nWidth, crColor); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};

class CBitmap : public CGdiObject {
public:
    // Takes ownership of a bitmap made elsewhere.
    void Attach(HBITMAP hBitmap);
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    BOOL GetBitmap(BITMAP* pBitMap) const { return ::GetObjectA(m_hObject, sizeof(BITMAP), pBitMap) != 0; }
};

// A device context handle; the wrapper does not own it.
class CDC {
public:
    CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    operator HDC() const { return m_hDC; }

    HGDIOBJ SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }
    int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
    COLORREF SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
    // Narrow texts are code page 936 (common/chinese_text.h).
    BOOL TextOut(int x, int y, const char* text, int nCount);
    BOOL TextOut(int x, int y, const wchar_t* text, int nCount) { return ::TextOutW(m_hDC, x, y, text, nCount); }
    SIZE GetTextExtent(const char* text, int nCount) const;
    void MoveTo(int x, int y) { ::MoveToEx(m_hDC, x, y, nullptr); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    void FillSolidRect(const RECT& rect, COLORREF crColor);
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
    {
        return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC->m_hDC, xSrc, ySrc, dwRop);
    }

    HDC m_hDC = nullptr;
};

// A memory device context compatible with another; deleted with the wrapper.
class CMemoryDC : public CDC {
public:
    explicit CMemoryDC(CDC* pDC) { m_hDC = ::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr); }
    ~CMemoryDC() { if (m_hDC) ::DeleteDC(m_hDC); }
};

// BeginPaint on construction, EndPaint on destruction.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC();
    PAINTSTRUCT m_ps;

private:
    HWND m_hWnd;
};
