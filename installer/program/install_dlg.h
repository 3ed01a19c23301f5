// CInstallDlg: the installer's wizard dialog and its page machine (welcome,
// choose folder, installing, finished).
#pragma once

#include "installer/steps/installation.h"
#include "installer/program/resource.h"
#include "wizard_ui/wizard_dlg.h"

class CInstallDlg : public CWizardDlg {
public:
    CInstallDlg();

    // The worker's status line on the installing page, repainted at once:
    // a text, or a path.
    void ShowStatus(const char* text);
    void ShowPath(const char* path);
    // A message box owned by the wizard, with the installer's caption: a
    // code page 936 text, or one in UTF-16.
    void ShowMessage(const char* text);
    void ShowMessage(const char16_t* text);

    // The worker's run: the installation the folder page settled, then its
    // outcome posted to the dialog's window (kInstallEnded).
    void RunWorker();

    // Sent by the worker when the port could not be added (wParam: the
    // error code): it waits while the dialog's thread shows the box.
    static constexpr UINT kPortFailed = WM_APP + 1;
    // Posted by the worker as its last act (wParam: the InstallOutcome).
    static constexpr UINT kInstallEnded = WM_APP + 2;

protected:
    BEGIN_MESSAGE_MAP()
        ON_COMMAND(IDC_NEXT, OnNext)
        ON_COMMAND(IDC_BROWSE, OnBrowse)
        ON_COMMAND(IDC_CANCEL_FINISH, OnCancel)
        ON_COMMAND(IDC_BACK, OnBack)
        ON_MESSAGE(kPortFailed, OnPortFailed)
        ON_MESSAGE(kInstallEnded, OnInstallEnded)
        CHAIN_MESSAGE_MAP(CWizardDlg)
    END_MESSAGE_MAP()

    BOOL OnInitDialog() override;

    void OnNext();
    void OnBack();
    void OnBrowse();
    LRESULT OnPortFailed(WPARAM code, LPARAM);
    LRESULT OnInstallEnded(WPARAM outcome, LPARAM);

private:
    void CreateFolderBox();
    void RepaintStatus();
    bool ValidateFolderPage();

    Installation m_installation;
    // The worker's, until it posts kInstallEnded.
    InstallResults m_results;
};
