// removal_probe: runs one of the uninstaller's removal steps inside the
// prefix, for the Wine tests.
//
//   removal_probe list FOLDER      {"files": [...], "folders": [...]} in list order
//   removal_probe service          RemovePrinterService
//   removal_probe printersystem    RemovePrinterSystem; prints {"result": N}
//   removal_probe cleanup FOLDER   CleanUpInstallation
//
// Paths are printed in UTF-8; exit code 0, or 3 for bad usage.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "tests/wine/sysprobe/json_out.h"
#include "uninstaller/clean_up_installation.h"
#include "uninstaller/file_removal.h"
#include "uninstaller/printer_service_removal.h"
#include "uninstaller/printer_system_removal.h"

namespace {

void PrintJsonString(const char* ansi)
{
    wchar_t wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide, MAX_PATH))
        wide[0] = L'\0';
    Json::Quote(wide);
}

void PrintList(const char* name, const CStringArray& list)
{
    printf("\"%s\": [", name);
    for (int i = 0; i < list.GetSize(); ++i) {
        if (i)
            printf(", ");
        PrintJsonString(list[i]);
    }
    putchar(']');
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && strcmp(argv[1], "service") == 0) {
        RemovePrinterService();
        return 0;
    }
    if (argc == 2 && strcmp(argv[1], "printersystem") == 0) {
        printf("{\"result\": %d}\n", RemovePrinterSystem());
        return 0;
    }
    if (argc == 3 && strcmp(argv[1], "cleanup") == 0) {
        CleanUpInstallation(argv[2]);
        return 0;
    }
    if (argc != 3 || strcmp(argv[1], "list") != 0)
        return 3;
    CStringArray files, folders;
    ListFolderTree(argv[2], files, folders);
    putchar('{');
    PrintList("files", files);
    printf(", ");
    PrintList("folders", folders);
    printf("}\n");
    return 0;
}
