#include "uninstaller/about_dlg.h"

#include "common/names.h"
#include "uninstaller/resource.h"

CAboutDlg::CAboutDlg(CWnd* pParentWnd) : CDialog(IDD_ABOUTBOX, pParentWnd) {}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    GetDlgItem(IDC_ABOUT_VERSION).SetWindowText("版本 " VARNEK_PACKAGE_VERSION);
    return TRUE;
}
