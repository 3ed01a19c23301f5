// Stand-in for VarnekRt81.dll, the port monitor of "Varnek Monitor": it
// keeps a list of ports (see port_registry.h), lists them to the spooler,
// adds and deletes them on request, and accepts print jobs on them. It has
// no USB transport: data written to a port is discarded. The vendor's
// monitor replaces it.
#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include "tests/standins/monitor/port_registry.h"

namespace {

const wchar_t kMonitorName[] = L"" VARNEK_PORT_MONITOR;
const wchar_t kPortDescription[] = L"Varnek USB printer port";
const wchar_t kMonitorUiLibrary[] = L"" VARNEK_MONITOR_LIBRARY;

struct OpenedPort {
    wchar_t name[kMaxPortName + 1];
};

struct XcvHandle {
    ACCESS_MASK granted;
};

// The spooler wants a non-null monitor handle; the monitor keeps no state in it.
int g_monitorInstance;

void* Allocate(SIZE_T size)
{
    return ::HeapAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, size);
}

void Release(void* p)
{
    ::HeapFree(::GetProcessHeap(), 0, p);
}

// Structures from the front of the buffer, strings from its end, so that
// each entry either fits whole or is only counted.
class PortInfoWriter {
public:
    PortInfoWriter(DWORD level, BYTE* buffer, DWORD size)
        : m_level(level), m_buffer(buffer), m_size(buffer ? size : 0), m_stringEnd(m_size) {}

    void Add(const wchar_t* name)
    {
        const DWORD entrySize = m_level == 1 ? sizeof(PORT_INFO_1W) : sizeof(PORT_INFO_2W);
        DWORD strings = TextBytes(name);
        if (m_level == 2)
            strings += TextBytes(kMonitorName) + TextBytes(kPortDescription);
        m_needed += entrySize + strings;
        if (m_needed > m_size)
            return;
        BYTE* entry = m_buffer + m_count * entrySize;
        if (m_level == 1) {
            reinterpret_cast<PORT_INFO_1W*>(entry)->pName = Store(name);
        } else {
            PORT_INFO_2W* info = reinterpret_cast<PORT_INFO_2W*>(entry);
            info->pPortName = Store(name);
            info->pMonitorName = Store(kMonitorName);
            info->pDescription = Store(kPortDescription);
            info->fPortType = PORT_TYPE_WRITE;
            info->Reserved = 0;
        }
        ++m_count;
    }

    DWORD Needed() const { return m_needed; }
    DWORD Count() const { return m_count; }

private:
    static DWORD TextBytes(const wchar_t* text) { return (lstrlenW(text) + 1) * sizeof(wchar_t); }

    wchar_t* Store(const wchar_t* text)
    {
        m_stringEnd -= TextBytes(text);
        wchar_t* copy = reinterpret_cast<wchar_t*>(m_buffer + m_stringEnd);
        lstrcpyW(copy, text);
        return copy;
    }

    const DWORD m_level;
    BYTE* const m_buffer;
    const DWORD m_size;
    DWORD m_stringEnd;
    DWORD m_needed = 0;
    DWORD m_count = 0;
};

BOOL WINAPI EnumPorts(HANDLE, LPWSTR, DWORD level, LPBYTE pPorts, DWORD cbBuf, LPDWORD pcbNeeded,
                      LPDWORD pcReturned)
{
    *pcbNeeded = 0;
    *pcReturned = 0;
    if (level != 1 && level != 2) {
        ::SetLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    PortInfoWriter writer(level, pPorts, cbBuf);
    HKEY key;
    if (OpenPortsKey(&key)) {
        wchar_t name[kMaxPortName + 1];
        for (DWORD i = 0;; ++i) {
            DWORD length = kMaxPortName + 1;
            if (::RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            writer.Add(name);
        }
        ::RegCloseKey(key);
    }
    *pcbNeeded = writer.Needed();
    if (writer.Needed() > cbBuf || (writer.Needed() && !pPorts)) {
        // The very last call before returning: Wine's spooler asks again for a
        // larger buffer only on this error, and drops the monitor's ports when
        // any later call has overwritten it.
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    *pcReturned = writer.Count();
    return TRUE;
}

BOOL WINAPI OpenPort(HANDLE, LPWSTR pName, PHANDLE pHandle)
{
    if (!pName || !PortExists(pName) || lstrlenW(pName) > static_cast<int>(kMaxPortName)) {
        ::SetLastError(ERROR_UNKNOWN_PORT);
        return FALSE;
    }
    OpenedPort* port = static_cast<OpenedPort*>(Allocate(sizeof(OpenedPort)));
    if (!port) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    lstrcpyW(port->name, pName);
    *pHandle = port;
    return TRUE;
}

BOOL WINAPI StartDocPort(HANDLE, LPWSTR, DWORD, DWORD, LPBYTE)
{
    return TRUE;
}

BOOL WINAPI WritePort(HANDLE, LPBYTE, DWORD cbBuf, LPDWORD pcbWritten)
{
    *pcbWritten = cbBuf;
    return TRUE;
}

BOOL WINAPI EndDocPort(HANDLE)
{
    return TRUE;
}

BOOL WINAPI ClosePort(HANDLE hPort)
{
    Release(hPort);
    return TRUE;
}

BOOL WINAPI DeletePort(HANDLE, LPWSTR, HWND, LPWSTR pPortName)
{
    const DWORD status = pPortName ? DeletePortKey(pPortName) : ERROR_INVALID_PARAMETER;
    if (status != NO_ERROR) {
        ::SetLastError(status);
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI XcvOpenPort(HANDLE, LPCWSTR, ACCESS_MASK GrantedAccess, PHANDLE phXcv)
{
    XcvHandle* xcv = static_cast<XcvHandle*>(Allocate(sizeof(XcvHandle)));
    if (!xcv) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    xcv->granted = GrantedAccess;
    *phXcv = xcv;
    return TRUE;
}

DWORD WINAPI XcvDataPort(HANDLE hXcv, LPCWSTR pszDataName, PBYTE pInputData, DWORD cbInputData,
                         PBYTE pOutputData, DWORD cbOutputData, PDWORD pcbOutputNeeded)
{
    const XcvHandle* xcv = static_cast<const XcvHandle*>(hXcv);
    if (!pszDataName)
        return ERROR_INVALID_PARAMETER;
    if (lstrcmpW(pszDataName, L"MonitorUI") == 0) {
        // This library is its own user-interface library as well.
        const DWORD size = sizeof kMonitorUiLibrary;
        if (pcbOutputNeeded)
            *pcbOutputNeeded = size;
        if (!pOutputData || cbOutputData < size)
            return ERROR_INSUFFICIENT_BUFFER;
        ::CopyMemory(pOutputData, kMonitorUiLibrary, size);
        return NO_ERROR;
    }
    const bool add = lstrcmpW(pszDataName, L"AddPort") == 0;
    if (!add && lstrcmpW(pszDataName, L"DeletePort") != 0)
        return ERROR_INVALID_PARAMETER;
    if (!(xcv->granted & SERVER_ACCESS_ADMINISTER))
        return ERROR_ACCESS_DENIED;
    const wchar_t* port;
    if (!PortNameFromInput(pInputData, cbInputData, &port))
        return ERROR_INVALID_PARAMETER;
    return add ? AddPortKey(port) : DeletePortKey(port);
}

BOOL WINAPI XcvClosePort(HANDLE hXcv)
{
    Release(hXcv);
    return TRUE;
}

VOID WINAPI Shutdown(HANDLE)
{
}

MONITOR2 MakeMonitor()
{
    MONITOR2 monitor = {};
    monitor.cbSize = sizeof monitor;
    monitor.pfnEnumPorts = EnumPorts;
    monitor.pfnOpenPort = OpenPort;
    monitor.pfnStartDocPort = StartDocPort;
    monitor.pfnWritePort = WritePort;
    monitor.pfnEndDocPort = EndDocPort;
    monitor.pfnClosePort = ClosePort;
    monitor.pfnDeletePort = DeletePort;
    monitor.pfnXcvOpenPort = XcvOpenPort;
    monitor.pfnXcvDataPort = XcvDataPort;
    monitor.pfnXcvClosePort = XcvClosePort;
    monitor.pfnShutdown = Shutdown;
    return monitor;
}

MONITOR2 g_monitor = MakeMonitor();

}  // namespace

extern "C" LPMONITOR2 WINAPI InitializePrintMonitor2(PMONITORINIT, PHANDLE phMonitor)
{
    *phMonitor = &g_monitorInstance;
    return &g_monitor;
}
