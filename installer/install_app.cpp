// CInstallApp: the installer program. No argument of ours: the wizard. "/S"
// with an optional final "/D=folder": the same installation without any
// window, its outcome as the exit code.
#include <windows.h>

#include "framework/afx.h"
#include "installer/install_command_line.h"
#include "installer/install_dlg.h"
#include "installer/install_outcome.h"
#include "installer/silent_install.h"

namespace {

// The folder in the ANSI code page, in which every path of the program is
// held. False when it holds a character the code page lacks (it would
// become '?', another folder) or does not fit.
bool FolderText(const wchar_t* folder, char* buffer, int size)
{
    BOOL lossy = FALSE;
    int n = ::WideCharToMultiByte(CP_ACP, 0, folder, -1, buffer, size, nullptr, &lossy);
    return n > 0 && !lossy;
}

}  // namespace

class CInstallApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        InstallCommand command;
        char folder[kPathBufferSize];
        if (!ParseInstallArguments(SkipProgramPath(::GetCommandLineW()), command) ||
            (command.hasFolder && !FolderText(command.folder, folder, sizeof folder))) {
            m_outcome = InstallOutcome::kBadCommandLine;
            return FALSE;
        }
        if (command.silent) {
            m_outcome = InstallSilently(command.hasFolder ? folder : nullptr);
            return FALSE;
        }
        CInstallDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
        return FALSE;
    }

    int ExitInstance() override { return static_cast<int>(m_outcome); }

private:
    // The wizard's own run always ends with 0: it showed its failures.
    InstallOutcome m_outcome = InstallOutcome::kInstalled;
};

static CInstallApp theApp;
