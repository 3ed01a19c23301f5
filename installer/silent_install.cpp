#include "installer/silent_install.h"

#include "common/path_text.h"
#include "common/step_log.h"
#include "installer/folder_preparation.h"
#include "installer/installation.h"

namespace {

// Nothing is shown; a failed port is told by the outcome alone.
class QuietProgress : public InstallProgress {
public:
    void ShowStatus(const char*) override {}
    void ShowPath(const char*) override {}
    void SetProgress(int) override {}
    void ReportPortError(unsigned long) override {}
};

}  // namespace

InstallOutcome InstallSilently(const char* folder)
{
    char defaultFolder[kPathBufferSize];
    if (!folder) {
        DefaultInstallFolder(defaultFolder, sizeof defaultFolder);
        folder = defaultFolder;
    }
    char canonical[kPathBufferSize];
    InstallOutcome outcome = PrepareInstallFolders(folder, canonical, sizeof canonical);
    LogResult("folder", outcome == InstallOutcome::kInstalled ? canonical : folder, static_cast<unsigned long>(outcome));
    if (outcome != InstallOutcome::kInstalled)
        return outcome;
    QuietProgress progress;
    InstallResults results;
    outcome = RunInstallation(canonical, progress, results);
    LogStep("end", canonical, "silent", static_cast<unsigned long>(outcome));
    return outcome;
}
