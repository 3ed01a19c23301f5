#include "wizard_ui/wizard_wnd.h"

#include <string.h>

CWizardWnd::CWizardWnd(const WizardPages& pages) : m_pages(pages), m_strStatus("请稍候...")
{
    ::InitializeCriticalSection(&m_statusLock);
}

CWizardWnd::~CWizardWnd()
{
    ::DeleteCriticalSection(&m_statusLock);
}

BOOL CWizardWnd::Create(CWnd* pParentWnd, const RECT& rect)
{
    LPCSTR className = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                           static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)), nullptr);
    return CreateEx(0, className, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect,
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

void CWizardWnd::SetStatus(const char* text)
{
    ::EnterCriticalSection(&m_statusLock);
    m_strStatus = text;
    ::LeaveCriticalSection(&m_statusLock);
}

CString CWizardWnd::GetStatus()
{
    ::EnterCriticalSection(&m_statusLock);
    CString copy = m_strStatus;
    ::LeaveCriticalSection(&m_statusLock);
    return copy;
}

void CWizardWnd::OnPaint()
{
    CPaintDC dc(this);
    RECT client;
    GetClientRect(&client);
    dc.FillSolidRect(client, RGB(255, 255, 255));
    if (m_nPage < 0 || m_nPage >= m_pages.count)
        return;
    const WizardPage& page = m_pages.pages[m_nPage];
    const char* title = page.title ? page.title : page.paragraphs[0];
    const char* end = strchr(title, '\n');
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(15, 10, title, static_cast<int>(end ? end - title : strlen(title)));
}
