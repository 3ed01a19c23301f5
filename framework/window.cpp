#include "framework/window.h"

#include <stdio.h>

// The window property that links a window to its CWnd object.
static const char kObjectProperty[] = "VarnekCWnd";

CWnd::~CWnd()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DetachPermanent();
}

CString CWnd::GetWindowText() const
{
    CString text;
    int length = ::GetWindowTextLengthA(m_hWnd);
    if (length <= 0)
        return text;
    char* buffer = static_cast<char*>(::HeapAlloc(::GetProcessHeap(), 0, length + 1));
    if (!buffer)
        return text;
    ::GetWindowTextA(m_hWnd, buffer, length + 1);
    text = buffer;
    ::HeapFree(::GetProcessHeap(), 0, buffer);
    return text;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    HWND hWnd = ::CreateWindowExA(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left,
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
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::WindowProc)));
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
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, uMsg, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, uMsg, wParam, lParam);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    return static_cast<CWnd*>(::GetPropA(hWnd, kObjectProperty));
}

void CWnd::AttachPermanent(HWND hWnd)
{
    m_hWnd = hWnd;
    ::SetPropA(hWnd, kObjectProperty, this);
}

void CWnd::DetachPermanent()
{
    if (m_pfnSuper) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        m_pfnSuper = nullptr;
    }
    ::RemovePropA(m_hWnd, kObjectProperty);
    m_hWnd = nullptr;
}

LRESULT CALLBACK CWnd::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* self = FromHandlePermanent(hWnd);
    if (!self && uMsg == WM_NCCREATE) {
        self = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (self)
            self->AttachPermanent(hWnd);
    }
    if (!self)
        return ::DefWindowProcA(hWnd, uMsg, wParam, lParam);

    LRESULT result = 0;
    if (!self->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, result))
        result = self->DefWindowProc(uMsg, wParam, lParam);
    // The object outlives its window only as a detached wrapper.
    if (uMsg == WM_NCDESTROY)
        self->DetachPermanent();
    return result;
}

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    // Room for "Afx:" and five 64-bit values in hex with their separators.
    static char s_szClassName[96];
    HINSTANCE hInstance = ::GetModuleHandleA(nullptr);
    _snprintf(s_szClassName, sizeof s_szClassName, "Afx:%p:%x:%p:%p:%p", static_cast<void*>(hInstance),
             nClassStyle, static_cast<void*>(hCursor), static_cast<void*>(hbrBackground),
             static_cast<void*>(hIcon));
    WNDCLASSA wc = {};
    if (::GetClassInfoA(hInstance, s_szClassName, &wc))
        return s_szClassName;
    wc.style = nClassStyle;
    wc.lpfnWndProc = &CWnd::WindowProc;
    wc.hInstance = hInstance;
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = s_szClassName;
    ::RegisterClassA(&wc);
    return s_szClassName;
}
