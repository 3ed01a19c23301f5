// CUninstallDlg: the uninstaller's wizard dialog and its page machine
// (welcome, removing, finished), with its about box, the removal worker it
// starts and the restart it asks for on Finish.
#pragma once

#include "uninstaller/program/resource.h"
#include "wizard_ui/wizard_dlg.h"

class CUninstallDlg : public CWizardDlg {
public:
    CUninstallDlg();

protected:
    // Browse and Back of the shared layout stay hidden in this program.
    BEGIN_MESSAGE_MAP()
        ON_WM_SYSCOMMAND()
        ON_COMMAND(IDC_NEXT, OnNext)
        ON_COMMAND(IDC_CANCEL_FINISH, OnCancel)
        CHAIN_MESSAGE_MAP(CWizardDlg)
    END_MESSAGE_MAP()

    BOOL OnInitDialog() override;
    // Finish (and Cancel, Esc, the caption's close command) restarts Windows
    // first when the box is ticked; Enter ends the dialog without that test.
    void OnCancel() override;

    bool OnSysCommand(UINT nID, LPARAM lParam);
    void OnNext();

private:
    void AddAboutMenuItem();
    void EnterRemovingPage();
    void EnterFinishedPage();
    bool IsRestartTicked() const;
};
