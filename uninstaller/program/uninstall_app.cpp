// CUninstallApp: the uninstaller program. The arguments choose the mode: the
// wizard, "/S" (the same removal without any window and without restart),
// the clean-up pass at the next logon, or the finisher. The wizard and "/S"
// write "%TEMP%\Uninstaller.log" (or the "/LOG=" file) anew; the clean-up pass
// and the finisher add to it.
#include <windows.h>
#include <shellapi.h>

#include "common/names.h"
#include "common/path_text.h"
#include "common/step_log.h"
#include "framework/afx.h"
#include "uninstaller/program/command_line.h"
#include "uninstaller/program/next_logon_modes.h"
#include "uninstaller/program/uninstall_dlg.h"
#include "uninstaller/steps/removal.h"

namespace {

// An argument in the ANSI code page. One that does not fit, or holds a
// character the code page lacks (it would become '?', another path), fails.
bool ArgumentText(const wchar_t* argument, char* buffer, size_t size)
{
    BOOL lossy = FALSE;
    int n = ::WideCharToMultiByte(CP_ACP, 0, argument, -1, buffer, static_cast<int>(size), nullptr, &lossy);
    return n > 0 && !lossy;
}

const char* ModeName(UninstallMode mode)
{
    switch (mode) {
    case UninstallMode::kWizard:
        return "wizard";
    case UninstallMode::kSilentRemoval:
        return "silent";
    case UninstallMode::kCleanUpPass:
        return "clean-up pass";
    default:
        return "finisher";
    }
}

// A log that cannot be written does not stop the removal.
void OpenLog(UninstallMode mode, const char* logFile)
{
    char defaultPath[kPathBufferSize];
    if (!logFile[0]) {
        if (!DefaultLogPath(defaultPath, sizeof defaultPath, "Uninstaller.log"))
            return;
        logFile = defaultPath;
    }
    // The next logon's modes go on with the removal's log.
    const bool append = mode == UninstallMode::kCleanUpPass || mode == UninstallMode::kFinisher;
    if (!OpenStepLog(logFile, append))
        return;
    // The process id tells the clean-up pass's lines from the finisher's.
    char program[64];
    ComposePath(program, sizeof program, "Uninstaller " VARNEK_PACKAGE_VERSION ", process %lu",
                ::GetCurrentProcessId());
    LogStep("start", program, ModeName(mode), 0);
}

void RunWizard()
{
    CUninstallDlg dlg;
    AfxGetApp()->m_pMainWnd = &dlg;
    dlg.DoModal();
    AfxGetApp()->m_pMainWnd = nullptr;
}

void RunNextLogonMode(UninstallMode mode, int argc, wchar_t** argv)
{
    char first[kPathBufferSize], second[kPathBufferSize], third[kPathBufferSize];
    if (!ArgumentText(argv[1], first, sizeof first))
        return;
    if (mode == UninstallMode::kCleanUpPass) {
        RunCleanUpPass(first);
        return;
    }
    if (!ArgumentText(argv[2], second, sizeof second))
        return;
    // Only two arguments: there is no folder. Arguments after the third are ignored.
    bool hasFolder = argc > 3;
    if (hasFolder && !ArgumentText(argv[3], third, sizeof third))
        return;
    RunFinisher(first, second, hasFolder ? third : nullptr);
}

}  // namespace

class CUninstallApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        int argc = 0;
        wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
        const wchar_t* wideLogFile = nullptr;
        char logFile[kPathBufferSize] = "";
        UninstallMode mode = UninstallMode::kWizard;
        if (argv) {
            const bool usable = TakeLogSwitch(argc, argv, wideLogFile) &&
                                (!wideLogFile || ArgumentText(wideLogFile, logFile, sizeof logFile));
            mode = usable ? ChooseMode(argc, argc > 1 ? argv[1] : nullptr) : UninstallMode::kBadCommandLine;
        }
        if (mode != UninstallMode::kBadCommandLine)
            OpenLog(mode, logFile);
        if (mode == UninstallMode::kWizard)
            RunWizard();
        else if (mode == UninstallMode::kSilentRemoval)
            RemoveInstallation(nullptr, nullptr);
        else if (mode == UninstallMode::kBadCommandLine)
            m_exit = UninstallExit::kBadCommandLine;
        else
            RunNextLogonMode(mode, argc, argv);
        if (argv)
            ::LocalFree(argv);
        LogStep("end", ModeName(mode), "done", 0);
        CloseStepLog();
        return FALSE;
    }

    int ExitInstance() override { return static_cast<int>(m_exit); }

private:
    UninstallExit m_exit = UninstallExit::kDone;
};

static CUninstallApp theApp;
