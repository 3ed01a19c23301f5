// removal_probe: runs one of the uninstaller's removal steps inside the
// prefix, for the Wine tests.
//
//   removal_probe list FOLDER      {"files": [...], "folders": [...]} in list order
//   removal_probe service          RemovePrinterService
//   removal_probe printersystem    RemovePrinterSystem, without an owner window
//   removal_probe cleanup FOLDER   CleanUpInstallation
//
// A step prints its result: {"result": "done"|"nothing there"|"failed",
// "error": N}. Paths are printed in UTF-8; exit code 0, or 3 for bad usage.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "tests/wine/sysprobe/json_out.h"
#include "uninstaller/steps/file_removal.h"
#include "uninstaller/steps/printer_system_removal.h"
#include "uninstaller/steps/removal.h"
#include "uninstaller/steps/system_removal.h"

namespace {

void PrintJsonString(const char* ansi)
{
    wchar_t wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide, MAX_PATH))
        wide[0] = L'\0';
    Json::Quote(wide);
}

void PrintList(const char* name, const PathList& list)
{
    printf("\"%s\": [", name);
    for (int i = 0; i < list.Count(); ++i) {
        if (i)
            printf(", ");
        PrintJsonString(list[i]);
    }
    putchar(']');
}

int PrintResult(RemovalResult result)
{
    const char* kind = result.kind == RemovalResult::Kind::kDone           ? "done"
                       : result.kind == RemovalResult::Kind::kNothingThere ? "nothing there"
                                                                            : "failed";
    printf("{\"result\": \"%s\", \"error\": %lu}\n", kind, result.error);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && strcmp(argv[1], "service") == 0)
        return PrintResult(RemovePrinterService());
    if (argc == 2 && strcmp(argv[1], "printersystem") == 0)
        return PrintResult(RemovePrinterSystem(nullptr));
    if (argc == 3 && strcmp(argv[1], "cleanup") == 0)
        return PrintResult(CleanUpInstallation(argv[2]));
    if (argc != 3 || strcmp(argv[1], "list") != 0)
        return 3;
    PathList files, folders;
    ListFolderTree(argv[2], files, folders);
    putchar('{');
    PrintList("files", files);
    printf(", ");
    PrintList("folders", folders);
    printf("}\n");
    return 0;
}
