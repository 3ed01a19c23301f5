#include "framework/dialog.h"

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (!rControl.m_hWnd)
        rControl.Attach(::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC));
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

INT_PTR CDialog::DoModal()
{
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nIDTemplate),
                             m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, &CDialog::DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CDialog* self = static_cast<CDialog*>(FromHandlePermanent(hWnd));
    if (uMsg == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        self->AttachPermanent(hWnd);
        RECT before, after;
        self->GetWindowRect(&before);
        BOOL result = self->OnInitDialog();
        // A dialog that kept its template position during initialisation is
        // centred on the screen, as the dialog framework does.
        self->GetWindowRect(&after);
        if (after.left == before.left && after.top == before.top)
            self->CenterWindow();
        return result;
    }
    if (!self)
        return FALSE;

    LRESULT result = 0;
    if (self->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, result)) {
        // These messages return their result directly; the rest through DWLP_MSGRESULT.
        if (uMsg == WM_QUERYDRAGICON || uMsg == WM_CTLCOLORDLG || uMsg == WM_CTLCOLORSTATIC ||
            uMsg == WM_CTLCOLORBTN)
            return static_cast<INT_PTR>(result);
        ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    if (uMsg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        if (LOWORD(wParam) == IDOK)
            self->OnOK();
        else
            self->OnCancel();
        return TRUE;
    }
    if (uMsg == WM_NCDESTROY)
        self->DetachPermanent();
    return FALSE;
}
