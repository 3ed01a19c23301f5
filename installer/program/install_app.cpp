// CInstallApp: the installer program. No argument of ours: the wizard. "/S"
// with an optional final "/D=folder": the same installation without any
// window, its outcome as the exit code. Either writes its log,
// "%TEMP%\VarnekPrinterSetup.log" or the "/LOG=" file.
#include <windows.h>

#include "common/chinese_text.h"
#include "common/names.h"
#include "common/path_text.h"
#include "common/step_log.h"
#include "framework/afx.h"
#include "installer/steps/folder_preparation.h"
#include "installer/program/install_command_line.h"
#include "installer/program/install_dlg.h"
#include "installer/steps/install_results.h"
#include "installer/steps/installation.h"

namespace {

// A log that cannot be written does not stop the installation.
void OpenLog(const char* logFile, bool silent)
{
    char defaultPath[kPathBufferSize];
    const char* path = logFile;
    if (!path[0]) {
        if (!DefaultLogPath(defaultPath, sizeof defaultPath, "VarnekPrinterSetup.log"))
            return;
        path = defaultPath;
    }
    if (OpenStepLog(path))
        LogStep("start", "VarnekPrinterSetup " VARNEK_PACKAGE_VERSION, silent ? "silent" : "wizard", 0);
}

// Nothing is shown; a failed port is told by the outcome alone.
class QuietProgress : public InstallProgress {
public:
    void ShowStatus(const char*) override {}
    void ShowPath(const char*) override {}
    void SetProgress(int) override {}
    void ReportPortError(unsigned long) override {}
};

// "/S": the wizard's folder checks and installation steps without any window.
// folder: the "/D=" text, or null for the wizard's proposed folder. The
// outcome is the process's exit code.
InstallOutcome InstallSilently(const char* folder)
{
    char defaultFolder[kPathBufferSize];
    if (!folder) {
        DefaultInstallFolder(defaultFolder, sizeof defaultFolder);
        folder = defaultFolder;
    }
    Installation installation = {};
    InstallOutcome outcome = PrepareInstallation(folder, installation);
    LogResult("folder", outcome == InstallOutcome::kInstalled ? installation.folder : folder,
              static_cast<unsigned long>(outcome));
    if (outcome != InstallOutcome::kInstalled)
        return outcome;
    QuietProgress progress;
    InstallResults results;
    outcome = RunInstallation(installation, progress, results);
    LogStep("end", installation.folder, "silent", static_cast<unsigned long>(outcome));
    return outcome;
}

}  // namespace

class CInstallApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        InstallCommand command;
        char folder[kPathBufferSize], logFile[kPathBufferSize];
        if (!ParseInstallArguments(SkipProgramPath(::GetCommandLineW()), command) ||
            (command.hasFolder && !PathFromWide(command.folder, folder, sizeof folder)) ||
            !PathFromWide(command.logFile, logFile, sizeof logFile)) {
            m_outcome = InstallOutcome::kBadCommandLine;
            return FALSE;
        }
        OpenLog(logFile, command.silent);
        if (command.silent) {
            m_outcome = InstallSilently(command.hasFolder ? folder : nullptr);
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
