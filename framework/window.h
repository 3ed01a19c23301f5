// CWnd: a thin wrapper of a window handle. Windows created or subclassed
// through it route their messages to the object's message map.
#pragma once

#include <windows.h>

#include "common/chinese_text.h"
#include "framework/text.h"

class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    CWnd(const CWnd& other) : m_hWnd(other.m_hWnd) {}
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    operator HWND() const { return m_hWnd; }

    // Creates a window of a class registered with AfxRegisterWndClass.
    BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID);
    // Routes an existing window's messages through this object.
    BOOL SubclassWindow(HWND hWnd);
    void Attach(HWND hWnd) { m_hWnd = hWnd; }

    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    void InvalidateRect(const RECT* lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void GetClientRect(RECT* lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void GetWindowRect(RECT* lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    // Texts are code page 936 (common/chinese_text.h).
    void SetWindowText(const char* text) { ::SetWindowTextW(m_hWnd, WideText(text)); }
    // A path as the user chose it.
    void SetWindowPath(const wchar_t* path) { ::SetWindowTextW(m_hWnd, path); }
    // The window's text as a path in the ANSI code page; false when a
    // character of it has no place there or it does not fit a path buffer.
    bool GetWindowPath(CString& path) const;
    CWnd GetDlgItem(int nID) const { return CWnd(::GetDlgItem(m_hWnd, nID)); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    HMENU GetSystemMenu(BOOL bRevert) const { return ::GetSystemMenu(m_hWnd, bRevert); }
    void CenterWindow();

    HWND m_hWnd = nullptr;

protected:
    // The message map: returns true when the message was handled and sets
    // lResult. Written with the macros below.
    virtual bool ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                      LRESULT& lResult);
    // The processing a message gets when the map does not handle it.
    LRESULT DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam);

    static CWnd* FromHandlePermanent(HWND hWnd);
    void AttachPermanent(HWND hWnd);
    void DetachPermanent();

private:
    friend LPCWSTR AfxRegisterWndClass(UINT, HCURSOR, HBRUSH, HICON);
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    WNDPROC m_pfnSuper = nullptr;
};

// Registers (once) a window class whose messages reach CWnd objects and
// returns its name. The name is built from the arguments, so equal arguments
// share one class. Its windows are Unicode windows, as are the dialogs and
// controls the framework makes: an ANSI window would pass every text through
// the ANSI code page.
LPCWSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon);

// Message-map macros, in the style of the dialog framework.
#define BEGIN_MESSAGE_MAP()                                                                      \
    bool ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,                \
                              LRESULT& lResult) override                                         \
    {                                                                                            \
        (void)hWnd;                                                                              \
        (void)wParam;                                                                            \
        (void)lParam;

#define ON_WM_PAINT()                                                                            \
    if (uMsg == WM_PAINT) {                                                                      \
        OnPaint();                                                                               \
        lResult = 0;                                                                             \
        return true;                                                                             \
    }

#define ON_WM_ERASEBKGND()                                                                       \
    if (uMsg == WM_ERASEBKGND) {                                                                 \
        lResult = OnEraseBkgnd(reinterpret_cast<HDC>(wParam));                                   \
        return true;                                                                             \
    }

// The handler returns false to leave the command to the default processing.
#define ON_WM_SYSCOMMAND()                                                                       \
    if (uMsg == WM_SYSCOMMAND && OnSysCommand(static_cast<UINT>(wParam), lParam)) {              \
        lResult = 0;                                                                             \
        return true;                                                                             \
    }

#define ON_WM_QUERYDRAGICON()                                                                    \
    if (uMsg == WM_QUERYDRAGICON) {                                                              \
        lResult = reinterpret_cast<LRESULT>(OnQueryDragIcon());                                  \
        return true;                                                                             \
    }

#define ON_COMMAND(id, handler)                                                                  \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (id)) {                                          \
        handler();                                                                               \
        lResult = 0;                                                                             \
        return true;                                                                             \
    }

// A message of the program's own (WM_APP and above): the handler takes
// wParam and lParam and returns the message's result.
#define ON_MESSAGE(message, handler)                                                             \
    if (uMsg == (message)) {                                                                     \
        lResult = handler(wParam, lParam);                                                       \
        return true;                                                                             \
    }

// Hands the messages this map does not handle to a base class's map.
#define CHAIN_MESSAGE_MAP(theBase)                                                               \
    if (theBase::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult))                      \
        return true;

#define END_MESSAGE_MAP()                                                                        \
    return false;                                                                                \
    }
