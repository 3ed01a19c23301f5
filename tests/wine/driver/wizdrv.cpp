// wizdrv: drives a wizard dialog of another process the way a user would,
// for the Wine tests. One command per run; results are printed as JSON in
// UTF-8; exit code 0 on success, 1 when the window was not found in time,
// 2 when the command would be impossible for a user (a hidden or disabled
// control), 3 for bad usage.
//
//   wizdrv wait CAPTION [MS]            wait until the dialog is visible
//   wizdrv gone CAPTION [MS]            wait until no such dialog exists
//   wizdrv state CAPTION                controls 1000-1007 (a progress bar with its
//                                       position), the page window, the process id
//   wizdrv click CAPTION ID             press a visible, enabled button
//   wizdrv settext CAPTION TEXT         type into the folder box
//   wizdrv key CAPTION escape|enter     a key press at the focused control
//   wizdrv close CAPTION                the caption's close command
//   wizdrv syscommand CAPTION ID        a system-menu command (WM_SYSCOMMAND)
//   wizdrv texts CAPTION                id and text of every child control
//   wizdrv msgbox [MS] [--press ID]     find a message box, read it, press a button
//   wizdrv nobox [MS]                   succeed if no message box shows up within MS
//   wizdrv capture CAPTION FILE [page|client]
//                                       24-bit BMP of the dialog window, its page
//                                       window or its client area
//   wizdrv hold CAPTION MINPOS [MS]     once the progress bar shows MINPOS or more,
//                                       suspend every thread of the dialog's process
//                                       but the dialog's own (the worker stops; the
//                                       pages still paint), for screenshots
//   wizdrv release CAPTION              resume the threads that hold suspended
//   wizdrv textextent FACE HEIGHT WEIGHT TEXT
//                                       size of TEXT (in the ANSI code page) in
//                                       that font, ANSI_CHARSET, as GDI measures it
//   wizdrv serve                        the same commands, one per line on stdin (see Serve)
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include "tests/wine/sysprobe/json_out.h"
#include "uninstaller/program/resource.h"
#include "wizard_ui/wizard_ids.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

namespace {

const int kPollMs = 25;

bool IsDialogClass(HWND hWnd)
{
    wchar_t cls[64];
    return GetClassNameW(hWnd, cls, 64) && wcscmp(cls, L"#32770") == 0;
}

// A message box: a dialog with the static text control 0xFFFF.
bool IsMessageBox(HWND hWnd)
{
    return IsDialogClass(hWnd) && GetDlgItem(hWnd, 0xFFFF) != nullptr;
}

struct FindWizard {
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK FindWizardProc(HWND hWnd, LPARAM lParam)
{
    FindWizard* find = reinterpret_cast<FindWizard*>(lParam);
    wchar_t text[256];
    if (IsDialogClass(hWnd) && !IsMessageBox(hWnd) && GetWindowTextW(hWnd, text, 256) &&
        wcscmp(text, find->caption) == 0) {
        find->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

// The wizard dialog with this caption (not a message box with the same caption).
HWND FindDialog(const wchar_t* caption)
{
    FindWizard find = {caption, nullptr};
    EnumWindows(FindWizardProc, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

HWND WaitDialog(const wchar_t* caption, int timeoutMs)
{
    for (int waited = 0;; waited += kPollMs) {
        HWND hWnd = FindDialog(caption);
        // The dialog exists during WM_INITDIALOG, before it is shown.
        if (hWnd && IsWindowVisible(hWnd))
            return hWnd;
        if (waited >= timeoutMs)
            return nullptr;
        Sleep(kPollMs);
    }
}

BOOL CALLBACK FindBoxProc(HWND hWnd, LPARAM lParam)
{
    if (IsWindowVisible(hWnd) && IsMessageBox(hWnd)) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitMessageBox(int timeoutMs)
{
    for (int waited = 0;; waited += kPollMs) {
        HWND box = nullptr;
        EnumWindows(FindBoxProc, reinterpret_cast<LPARAM>(&box));
        if (box || waited >= timeoutMs)
            return box;
        Sleep(kPollMs);
    }
}

BOOL CALLBACK FindPageProc(HWND hWnd, LPARAM lParam)
{
    wchar_t cls[64];
    if (GetParent(hWnd) == reinterpret_cast<HWND*>(lParam)[0] && GetClassNameW(hWnd, cls, 64) &&
        wcsncmp(cls, L"Afx:", 4) == 0) {
        reinterpret_cast<HWND*>(lParam)[1] = hWnd;
        return FALSE;
    }
    return TRUE;
}

// The page window: the dialog's child of our registered window class.
HWND FindPageWindow(HWND dialog)
{
    HWND found[2] = {dialog, nullptr};
    EnumChildWindows(dialog, FindPageProc, reinterpret_cast<LPARAM>(found));
    return found[1];
}

BOOL CALLBACK FindEditProc(HWND hWnd, LPARAM lParam)
{
    wchar_t cls[64];
    if (GetClassNameW(hWnd, cls, 64) && _wcsicmp(cls, L"Edit") == 0) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindFolderEdit(HWND dialog)
{
    HWND edit = nullptr;
    EnumChildWindows(dialog, FindEditProc, reinterpret_cast<LPARAM>(&edit));
    return edit;
}

void PrintControl(HWND control)
{
    wchar_t text[512] = L"";
    SendMessageTimeoutW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 2000, nullptr);
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    printf("{\"visible\": %d, \"enabled\": %d, \"rect\": [%ld, %ld, %ld, %ld], \"text\": ",
           IsWindowVisible(control) ? 1 : 0, IsWindowEnabled(control) ? 1 : 0, rect.left, rect.top, rect.right,
           rect.bottom);
    Json::Quote(text);
    wchar_t cls[64];
    if (GetClassNameW(control, cls, 64) && _wcsicmp(cls, PROGRESS_CLASSW) == 0)
        printf(", \"pos\": %d", static_cast<int>(SendMessageW(control, PBM_GETPOS, 0, 0)));
    LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    if ((SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) &&
        (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX)) {
        LRESULT check = SendMessageW(control, BM_GETCHECK, 0, 0);
        printf(", \"checked\": %d", check == BST_CHECKED ? 1 : 0);
    }
    putchar('}');
}

int CommandState(HWND dialog)
{
    printf("{\"controls\": {");
    bool first = true;
    // The uninstaller's restart box, then the wizards' shared controls.
    for (int id = IDC_RESTART; id <= IDC_CANCEL_FINISH; ++id) {
        HWND control = GetDlgItem(dialog, id);
        if (!control)
            continue;
        printf("%s\"%d\": ", first ? "" : ", ", id);
        PrintControl(control);
        first = false;
    }
    printf("}");
    RECT window, client;
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    printf(", \"window\": [%ld, %ld, %ld, %ld], \"client\": [%ld, %ld]", window.left, window.top,
           window.right - window.left, window.bottom - window.top, client.right, client.bottom);
    DWORD processId = 0;
    GetWindowThreadProcessId(dialog, &processId);
    printf(", \"pid\": %lu", processId);
    HWND page = FindPageWindow(dialog);
    if (page) {
        RECT pageRect;
        GetClientRect(page, &pageRect);
        printf(", \"page\": {\"visible\": %d, \"size\": [%ld, %ld]}", IsWindowVisible(page) ? 1 : 0,
               pageRect.right, pageRect.bottom);
    }
    HWND edit = FindFolderEdit(dialog);
    if (edit) {
        HWND box = GetParent(edit);
        RECT boxRect;
        GetWindowRect(box, &boxRect);
        MapWindowPoints(HWND_DESKTOP, GetParent(box), reinterpret_cast<POINT*>(&boxRect), 2);
        printf(", \"folder\": ");
        PrintControl(edit);
        printf(", \"folder_box\": {\"visible\": %d, \"rect\": [%ld, %ld, %ld, %ld]}",
               IsWindowVisible(box) ? 1 : 0, boxRect.left, boxRect.top, boxRect.right, boxRect.bottom);
    }
    printf("}\n");
    return 0;
}

BOOL CALLBACK PrintChildProc(HWND hWnd, LPARAM lParam)
{
    bool* first = reinterpret_cast<bool*>(lParam);
    wchar_t text[512] = L"";
    GetWindowTextW(hWnd, text, 512);
    printf("%s\"%d\": ", *first ? "" : ", ", GetDlgCtrlID(hWnd));
    Json::Quote(text);
    *first = false;
    return TRUE;
}

int CommandTexts(HWND dialog)
{
    bool first = true;
    putchar('{');
    EnumChildWindows(dialog, PrintChildProc, reinterpret_cast<LPARAM>(&first));
    printf("}\n");
    return 0;
}

int CommandClick(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    // Wine delivers a click on a disabled button; a user could not make it.
    if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button)) {
        fprintf(stderr, "control %d is missing, hidden or disabled\n", id);
        return 2;
    }
    // Sent, so that the next command sees what the click did; with a time
    // limit, because the handler may open a modal box and not return for a while.
    DWORD_PTR result;
    SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, 1500, &result);
    return 0;
}

int CommandSetText(HWND dialog, const wchar_t* text)
{
    HWND edit = FindFolderEdit(dialog);
    if (!edit || !IsWindowVisible(edit)) {
        fprintf(stderr, "the folder box is not shown\n");
        return 2;
    }
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    return 0;
}

int CommandKey(HWND dialog, const wchar_t* key)
{
    UINT vk = _wcsicmp(key, L"escape") == 0 ? VK_ESCAPE : _wcsicmp(key, L"enter") == 0 ? VK_RETURN : 0;
    if (!vk)
        return 3;
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    HWND target = info.hwndFocus ? info.hwndFocus : dialog;
    // Through the message queue, so that the dialog's keyboard handling sees it.
    PostMessageW(target, WM_KEYDOWN, vk, 1);
    PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
    return 0;
}

// Whether the box shows an icon: Windows' icon control is 0x14, Wine's is
// 0x440 and stays empty without one.
bool HasIcon(HWND box)
{
    const int ids[] = {0x0014, 0x0440};
    for (int id : ids) {
        HWND control = GetDlgItem(box, id);
        if (control && SendMessageW(control, STM_GETICON, 0, 0))
            return true;
    }
    return false;
}

int CommandMessageBox(int timeoutMs, int pressId)
{
    HWND box = WaitMessageBox(timeoutMs);
    if (!box) {
        printf("{}\n");
        return 1;
    }
    wchar_t caption[256] = L"", text[1024] = L"";
    GetWindowTextW(box, caption, 256);
    GetWindowTextW(GetDlgItem(box, 0xFFFF), text, 1024);
    HWND owner = GetWindow(box, GW_OWNER);
    wchar_t ownerCaption[256] = L"";
    if (owner)
        GetWindowTextW(owner, ownerCaption, 256);
    printf("{\"caption\": ");
    Json::Quote(caption);
    printf(", \"text\": ");
    Json::Quote(text);
    printf(", \"owner\": ");
    Json::Quote(ownerCaption);
    printf(", \"has_owner\": %d, \"icon\": %d", owner ? 1 : 0, HasIcon(box) ? 1 : 0);
    printf(", \"buttons\": [");
    bool first = true;
    for (int id = 1; id <= 11; ++id) {
        if (GetDlgItem(box, id)) {
            printf("%s%d", first ? "" : ", ", id);
            first = false;
        }
    }
    printf("]}\n");
    if (pressId) {
        HWND button = GetDlgItem(box, pressId);
        if (!button)
            return 2;
        PostMessageW(button, BM_CLICK, 0, 0);
        // The next command should not meet the box any more.
        for (int waited = 0; IsWindow(box) && IsWindowVisible(box) && waited < 3000; waited += kPollMs)
            Sleep(kPollMs);
    }
    return 0;
}

// The whole window (frame included), or only its client area. Read through
// the top-level window's DC: Wine gives an all-black image for the window DC
// of a child window of another process.
bool WriteBitmap(const wchar_t* file, HWND target, bool clientOnly)
{
    HWND root = GetAncestor(target, GA_ROOT);
    RECT rootRect, rect;
    GetWindowRect(root, &rootRect);
    if (clientOnly) {
        GetClientRect(target, &rect);
        MapWindowPoints(target, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
    } else {
        GetWindowRect(target, &rect);
    }
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC source = GetWindowDC(root);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(memory, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, width, height, source, rect.left - rootRect.left, rect.top - rootRect.top, SRCCOPY);
    GdiFlush();
    int stride = (width * 3 + 3) & ~3;
    DWORD imageSize = static_cast<DWORD>(stride) * height;
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + imageSize;
    bool ok = false;
    FILE* out = _wfopen(file, L"wb");
    if (out) {
        ok = fwrite(&fh, sizeof fh, 1, out) == 1 && fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, out) == 1 &&
             fwrite(bits, imageSize, 1, out) == 1;
        ok = fclose(out) == 0 && ok;
    }
    SelectObject(memory, previous);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(root, source);
    return ok;
}

int CommandTextExtent(const wchar_t* face, int height, int weight, const wchar_t* text)
{
    char narrow[1024];
    if (WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr) <= 0)
        return 3;
    HFONT font = CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE size = {0, 0};
    BOOL ok = GetTextExtentPoint32A(dc, narrow, static_cast<int>(strlen(narrow)), &size);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    if (!font || !ok)
        return 1;
    printf("{\"cx\": %ld, \"cy\": %ld}\n", size.cx, size.cy);
    return 0;
}

// Threads that hold suspended, to be resumed by release.
const int kMaxHeld = 64;
DWORD g_held[kMaxHeld];
int g_heldCount = 0;

int CommandHold(HWND dialog, int minPos, int timeoutMs)
{
    HWND progress = GetDlgItem(dialog, IDC_PROGRESS);
    int pos = 0;
    const DWORD started = GetTickCount();
    for (;;) {
        DWORD_PTR result = 0;
        if (progress && IsWindowVisible(progress) &&
            SendMessageTimeoutW(progress, PBM_GETPOS, 0, 0, SMTO_BLOCK, 1000, &result))
            pos = static_cast<int>(result);
        if (pos >= minPos)
            break;
        if (GetTickCount() - started >= static_cast<DWORD>(timeoutMs))
            return 1;
        Sleep(1);
    }
    DWORD processId = 0;
    const DWORD dialogThread = GetWindowThreadProcessId(dialog, &processId);
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 1;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more && g_heldCount < kMaxHeld;
         more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId || entry.th32ThreadID == dialogThread)
            continue;
        HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
        if (thread && SuspendThread(thread) != static_cast<DWORD>(-1))
            g_held[g_heldCount++] = entry.th32ThreadID;
        if (thread)
            CloseHandle(thread);
    }
    CloseHandle(snapshot);
    printf("{\"pos\": %d, \"held\": %d}\n", pos, g_heldCount);
    return 0;
}

int CommandRelease()
{
    for (int i = 0; i < g_heldCount; ++i) {
        HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, g_held[i]);
        if (thread) {
            ResumeThread(thread);
            CloseHandle(thread);
        }
    }
    g_heldCount = 0;
    return 0;
}

int RunCommand(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 3;
    const wchar_t* command = argv[1];

    if (wcscmp(command, L"msgbox") == 0 || wcscmp(command, L"nobox") == 0) {
        int timeoutMs = argc > 2 ? _wtoi(argv[2]) : 5000;
        int pressId = 0;
        for (int i = 3; i + 1 < argc; ++i) {
            if (wcscmp(argv[i], L"--press") == 0)
                pressId = _wtoi(argv[i + 1]);
        }
        if (wcscmp(command, L"nobox") == 0) {
            int rc = CommandMessageBox(timeoutMs, 0);
            return rc == 1 ? 0 : 1;
        }
        return CommandMessageBox(timeoutMs, pressId);
    }
    if (wcscmp(command, L"textextent") == 0)
        return argc > 5 ? CommandTextExtent(argv[2], _wtoi(argv[3]), _wtoi(argv[4]), argv[5]) : 3;
    if (argc < 3)
        return 3;
    const wchar_t* caption = argv[2];

    if (wcscmp(command, L"wait") == 0)
        return WaitDialog(caption, argc > 3 ? _wtoi(argv[3]) : 10000) ? 0 : 1;
    if (wcscmp(command, L"gone") == 0) {
        int timeoutMs = argc > 3 ? _wtoi(argv[3]) : 10000;
        for (int waited = 0; FindDialog(caption); waited += kPollMs) {
            if (waited >= timeoutMs)
                return 1;
            Sleep(kPollMs);
        }
        return 0;
    }

    HWND dialog = WaitDialog(caption, 5000);
    if (!dialog) {
        fprintf(stderr, "no visible dialog with that caption\n");
        return 1;
    }
    if (wcscmp(command, L"state") == 0)
        return CommandState(dialog);
    if (wcscmp(command, L"click") == 0 && argc > 3)
        return CommandClick(dialog, _wtoi(argv[3]));
    if (wcscmp(command, L"settext") == 0 && argc > 3)
        return CommandSetText(dialog, argv[3]);
    if (wcscmp(command, L"key") == 0 && argc > 3)
        return CommandKey(dialog, argv[3]);
    if (wcscmp(command, L"close") == 0) {
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    }
    if (wcscmp(command, L"syscommand") == 0 && argc > 3) {
        PostMessageW(dialog, WM_SYSCOMMAND, _wtoi(argv[3]), 0);
        return 0;
    }
    if (wcscmp(command, L"texts") == 0)
        return CommandTexts(dialog);
    if (wcscmp(command, L"hold") == 0 && argc > 3)
        return CommandHold(dialog, _wtoi(argv[3]), argc > 4 ? _wtoi(argv[4]) : 30000);
    if (wcscmp(command, L"release") == 0)
        return CommandRelease();
    if (wcscmp(command, L"capture") == 0 && argc > 3) {
        const wchar_t* part = argc > 4 ? argv[4] : L"";
        HWND target = wcscmp(part, L"page") == 0 ? FindPageWindow(dialog) : dialog;
        return target && WriteBitmap(argv[3], target, wcscmp(part, L"client") == 0) ? 0 : 1;
    }
    return 3;
}

// Serve mode: one command per line on stdin, its arguments separated by
// tabs, in UTF-8. After each command's output a line "\x1e<exit code>"
// follows. Starting a Wine process costs about half a second; one driver
// process per test group saves that on every command.
int Serve()
{
    char line[8192];
    while (fgets(line, sizeof line, stdin)) {
        line[strcspn(line, "\r\n")] = '\0';
        wchar_t wide[8192];
        if (!MultiByteToWideChar(CP_UTF8, 0, line, -1, wide, 8192))
            wide[0] = L'\0';
        wchar_t* argv[16] = {const_cast<wchar_t*>(L"wizdrv")};
        int argc = 1;
        // Empty arguments are kept: typing an empty folder is a test case.
        for (wchar_t* token = wide; argc < 16;) {
            argv[argc++] = token;
            wchar_t* tab = wcschr(token, L'\t');
            if (!tab)
                break;
            *tab = L'\0';
            token = tab + 1;
        }
        int rc = RunCommand(argc, argv);
        printf("\x1e%d\n", rc);
        fflush(stdout);
    }
    return 0;
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv)
        return 3;
    if (argc == 2 && wcscmp(argv[1], L"serve") == 0)
        return Serve();
    return RunCommand(argc, argv);
}
