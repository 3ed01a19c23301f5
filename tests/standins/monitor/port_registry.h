// The monitor's ports, kept as subkeys "Ports\<port>" of its own key. The
// key is reached by its absolute HKLM path with plain registry calls: Wine
// closes the key it hands over at initialisation and stubs the spooler's
// registry callbacks, and Windows is served as well by the direct path.
#pragma once

#include <windows.h>

#include "common/names.h"

#define VARNEK_MONITOR_KEY L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\" VARNEK_PORT_MONITOR

// Port names are registry key names: at most 255 characters, no '\\'.
constexpr DWORD kMaxPortName = 255;

// The port name carried by an Xcv command: UTF-16 text with its terminator
// filling the whole input. False for anything else.
bool PortNameFromInput(const BYTE* data, DWORD size, const wchar_t** name);

// NO_ERROR, ERROR_ALREADY_EXISTS when the port exists, or the registry's error.
DWORD AddPortKey(const wchar_t* name);
// NO_ERROR, ERROR_UNKNOWN_PORT when there is no such port, or the registry's error.
DWORD DeletePortKey(const wchar_t* name);
bool PortExists(const wchar_t* name);

// Opens the Ports key for enumeration; false when there are no ports yet.
bool OpenPortsKey(HKEY* key);
