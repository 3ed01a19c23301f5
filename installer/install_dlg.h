// CInstallDlg: the installer's wizard dialog and its page machine (welcome,
// choose folder, installing, finished).
#pragma once

#include "installer/installation.h"
#include "installer/resource.h"
#include "wizard_ui/wizard_dlg.h"

class CInstallDlg : public CWizardDlg {
public:
    CInstallDlg();

    // What the folder page settled; the worker's only source of it.
    const Installation& GetInstallation() const { return m_installation; }
    // The worker's status line on the installing page, repainted at once:
    // a text, or a path.
    void ShowStatus(const char* text);
    void ShowPath(const char* path);
    // A message box owned by the wizard, with the installer's caption.
    void ShowMessage(const char* text) { ShowMessageFor(m_hWnd, text); }
    // The same through the dialog's window handle, for the worker once the
    // dialog object may be gone.
    static void ShowMessageFor(HWND owner, const char* text);

protected:
    BEGIN_MESSAGE_MAP()
        ON_COMMAND(IDC_NEXT, OnNext)
        ON_COMMAND(IDC_BROWSE, OnBrowse)
        ON_COMMAND(IDC_CANCEL_FINISH, OnCancel)
        ON_COMMAND(IDC_BACK, OnBack)
        CHAIN_MESSAGE_MAP(CWizardDlg)
    END_MESSAGE_MAP()

    BOOL OnInitDialog() override;

    void OnNext();
    void OnBack();
    void OnBrowse();

private:
    void CreateFolderBox();
    void RepaintStatus();
    bool ValidateFolderPage();

    Installation m_installation;
};
