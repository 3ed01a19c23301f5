#include "framework/window.h"

#include <stdio.h>

#include "common/path_text.h"

// The window property that links a window to its CWnd object.
static const wchar_t kObjectProperty[] = L"VarnekCWnd";

CWnd::~CWnd()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DetachPermanent();
}

bool CWnd::GetWindowPath(CString& path) const
{
    path.Empty();
    // A path that does not fit a path buffer is refused, never cut short.
    wchar_t wide[kPathBufferSize];
    char narrow[kPathBufferSize];
    if (::GetWindowTextLengthW(m_hWnd) >= static_cast<int>(kPathBufferSize))
        return false;
    ::GetWindowTextW(m_hWnd, wide, kPathBufferSize);
    if (!PathFromWide(wide, narrow, kPathBufferSize))
        return false;
    path = narrow;
    return true;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    HWND hWnd = ::CreateWindowExW(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left,
                                  rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                  pParentWnd ? pParentWnd->m_hWnd : nullptr,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)),
                                  ::GetModuleHandleA(nullptr), this);
    return hWnd != nullptr;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || FromHandlePermanent(hWnd))
        return FALSE;
    AttachPermanent(hWnd);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::WindowProc)));
    return TRUE;
}

void CWnd::CenterWindow()
{
    RECT work, rc;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(&rc);
    int width = rc.right - rc.left, height = rc.bottom - rc.top;
    int x = work.left + (work.right - work.left - width) / 2;
    int y = work.top + (work.bottom - work.top - height) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CWnd::ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

LRESULT CWnd::DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, uMsg, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, uMsg, wParam, lParam);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    return static_cast<CWnd*>(::GetPropW(hWnd, kObjectProperty));
}

void CWnd::AttachPermanent(HWND hWnd)
{
    m_hWnd = hWnd;
    ::SetPropW(hWnd, kObjectProperty, this);
}

void CWnd::DetachPermanent()
{
    if (m_pfnSuper) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        m_pfnSuper = nullptr;
    }
    ::RemovePropW(m_hWnd, kObjectProperty);
    m_hWnd = nullptr;
}

LRESULT CALLBACK CWnd::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* self = FromHandlePermanent(hWnd);
    if (!self && uMsg == WM_NCCREATE) {
        self = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self)
            self->AttachPermanent(hWnd);
    }
    if (!self)
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);

    LRESULT result = 0;
    if (!self->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, result))
        result = self->DefWindowProc(uMsg, wParam, lParam);
    // The object outlives its window only as a detached wrapper.
    if (uMsg == WM_NCDESTROY)
        self->DetachPermanent();
    return result;
}

LPCWSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    // Room for "Afx:" and five 64-bit values in hex with their separators.
    static wchar_t s_szClassName[96];
    HINSTANCE hInstance = ::GetModuleHandleW(nullptr);
    _snwprintf(s_szClassName, sizeof s_szClassName / sizeof s_szClassName[0], L"Afx:%p:%x:%p:%p:%p",
               static_cast<void*>(hInstance), nClassStyle, static_cast<void*>(hCursor),
               static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    WNDCLASSW wc = {};
    if (::GetClassInfoW(hInstance, s_szClassName, &wc))
        return s_szClassName;
    wc.style = nClassStyle;
    wc.lpfnWndProc = &CWnd::WindowProc;
    wc.hInstance = hInstance;
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = s_szClassName;
    ::RegisterClassW(&wc);
    return s_szClassName;
}
