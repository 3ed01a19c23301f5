// CInstallApp: the installer program. No argument: the wizard. "/S" with an
// optional final "/D=folder": the same installation without any window, its
// outcome as the exit code. Either writes its log, "%TEMP%\VarnekPrinterSetup.log"
// or the "/LOG=" file.
#include <windows.h>

#include "common/names.h"
#include "common/step_log.h"
#include "framework/afx.h"
#include "installer/extract_package.h"
#include "installer/install_command_line.h"
#include "installer/install_dlg.h"
#include "installer/install_outcome.h"
#include "installer/silent_install.h"

namespace {

// The command line in the ANSI code page, in which every path of the program
// is held. False when it does not fit or holds a character the code page
// lacks (it would become '?', another folder).
bool CommandLineText(char* buffer, int size)
{
    BOOL lossy = FALSE;
    int n = ::WideCharToMultiByte(CP_ACP, 0, ::GetCommandLineW(), -1, buffer, size, nullptr, &lossy);
    return n > 0 && !lossy;
}

// A log that cannot be written does not stop the installation.
void OpenLog(const InstallCommand& command)
{
    char defaultPath[kPathBufferSize];
    const char* path = command.logFile;
    if (!path[0]) {
        if (!DefaultLogPath(defaultPath, sizeof defaultPath, "VarnekPrinterSetup.log"))
            return;
        path = defaultPath;
    }
    if (OpenStepLog(path))
        LogStep("start", "VarnekPrinterSetup " VARNEK_PACKAGE_VERSION, command.silent ? "silent" : "wizard", 0);
}

}  // namespace

class CInstallApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        OwnFileHold ownFile;
        char commandLine[kInstallCommandLineSize];
        InstallCommand command;
        if (!CommandLineText(commandLine, sizeof commandLine) ||
            !ParseInstallArguments(SkipProgramPath(commandLine), command)) {
            m_outcome = InstallOutcome::kBadCommandLine;
            return FALSE;
        }
        OpenLog(command);
        if (command.silent) {
            m_outcome = InstallSilently(command.hasFolder ? command.folder : nullptr);
        } else {
            CInstallDlg dlg;
            m_pMainWnd = &dlg;
            dlg.DoModal();
            m_pMainWnd = nullptr;
        }
        CloseStepLog();
        return FALSE;
    }

    int ExitInstance() override { return static_cast<int>(m_outcome); }

private:
    // The wizard's own run always ends with 0: it showed its failures.
    InstallOutcome m_outcome = InstallOutcome::kInstalled;
};

static CInstallApp theApp;
