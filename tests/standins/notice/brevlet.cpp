// Stand-in for Brevlet.exe, the notice program of the printer package: it
// shows one notice and ends. The vendor's program replaces it.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    ::MessageBoxA(nullptr, "Varnek 标签打印机驱动已安装。\n(本程序为替代文件，由厂商的通知程序取代。)",
                  "Varnek打印机", MB_OK | MB_ICONINFORMATION);
    return 0;
}
