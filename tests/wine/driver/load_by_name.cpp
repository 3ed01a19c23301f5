// load_by_name NAME...: LoadLibrary of each name by the normal search order,
// as a program's static imports are resolved. The control of the planting
// test: it shows that a planted DLL beside a program is taken. Exit code 0.
#include <windows.h>

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        LoadLibraryA(argv[i]);
    return 0;
}
