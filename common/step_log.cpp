#include "common/step_log.h"

#include <windows.h>

#include "common/log_line.h"
#include "common/path_text.h"

namespace {

HANDLE g_log = INVALID_HANDLE_VALUE;
char g_logPath[kPathBufferSize];

// A link, or a second name of a file somewhere else (a hard link made by
// someone else), would have the program write to a file it never made.
bool IsPlainFile(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION info;
    return ::GetFileInformationByHandle(file, &info) &&
           !(info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) &&
           info.nNumberOfLinks == 1;
}

}  // namespace

bool DefaultLogPath(char* buffer, size_t size, const char* fileName)
{
    char folder[MAX_PATH + 1];
    const DWORD length = ::GetTempPathA(sizeof folder, folder);
    // The folder comes with its trailing separator.
    return length > 0 && length < sizeof folder && ComposePath(buffer, size, "%s%s", folder, fileName);
}

bool OpenStepLog(const char* path, bool append)
{
    CloseStepLog();
    if (!CopyText(g_logPath, sizeof g_logPath, path))
        return false;
    // The link itself is opened, never what it points to; only a plain file
    // of one name is emptied and written. Appending, each write goes to the
    // end even while another process of the same run appends too.
    // FILE_READ_ATTRIBUTES: the check below reads what the handle opened.
    HANDLE file = ::CreateFileA(path, (append ? FILE_APPEND_DATA : GENERIC_WRITE) | FILE_READ_ATTRIBUTES,
                                append ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        g_logPath[0] = '\0';
        return false;
    }
    if (!IsPlainFile(file) || (!append && !::SetEndOfFile(file))) {
        ::CloseHandle(file);
        g_logPath[0] = '\0';
        return false;
    }
    g_log = file;
    return true;
}

const char* StepLogPath()
{
    return g_logPath;
}

void CloseStepLog()
{
    if (g_log != INVALID_HANDLE_VALUE)
        ::CloseHandle(g_log);
    g_log = INVALID_HANDLE_VALUE;
    g_logPath[0] = '\0';
}

void LogStep(const char* step, const char* object, const char* result, unsigned long error)
{
    if (g_log == INVALID_HANDLE_VALUE)
        return;
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const LogTime time = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
    char line[kLogLineSize];
    // A line that cannot hold its object still tells the step and its result.
    if (!FormatLogLine(line, sizeof line, time, step, object, result, error) &&
        !FormatLogLine(line, sizeof line, time, step, "(too long)", result, error))
        return;
    DWORD written = 0;
    // Unbuffered: each line is in the file once WriteFile returns.
    ::WriteFile(g_log, line, static_cast<DWORD>(lstrlenA(line)), &written, nullptr);
}

void LogResult(const char* step, const char* object, unsigned long error)
{
    LogStep(step, object, error == 0 ? "ok" : "failed", error);
}

void LogDeletion(const char* step, const char* object, unsigned long error)
{
    const bool absent = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    LogStep(step, object, error == 0 ? "ok" : absent ? "not there" : "failed", error);
}
