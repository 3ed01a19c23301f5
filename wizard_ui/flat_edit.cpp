#include "wizard_ui/flat_edit.h"

#include "wizard_ui/wizard_ids.h"

void CFlatEdit::Create(const RECT& rect, CWnd* pParentWnd)
{
    LPCWSTR className = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                           static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)), nullptr);
    if (!CreateEx(0, className, L"", WS_CHILD | WS_CLIPCHILDREN, rect, pParentWnd, 0))
        return;
    RECT client;
    GetClientRect(&client);
    RECT editRect = {2, 3, client.right - 1, client.bottom - 1};
    // Id 1001 is counted among the container's children: no clash with Next.
    m_edit.Create(WS_VISIBLE | ES_AUTOHSCROLL, editRect, this, IDC_NEXT);
    m_font.CreateFont(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial");
    m_edit.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(m_font)), TRUE);
}

void CFlatEdit::SetFolder(const char* folder)
{
    SetFolder(WideText(folder, -1, CP_ACP));
}

void CFlatEdit::SetFolder(const wchar_t* folder)
{
    m_edit.SetWindowPath(folder);
    m_edit.SendMessage(EM_SETMODIFY, TRUE);
}

void CFlatEdit::OnPaint()
{
    CPaintDC dc(this);
    RECT client;
    GetClientRect(&client);
    int w = client.right, h = client.bottom;
    CPen pen(PS_SOLID, 1, RGB(127, 157, 187));
    HGDIOBJ previous = dc.SelectObject(pen);
    dc.MoveTo(0, 0);
    dc.LineTo(w - 1, 0);
    dc.LineTo(w - 1, h - 1);
    dc.LineTo(0, h - 1);
    dc.LineTo(0, 0);
    dc.SelectObject(previous);
}
