// Where a 32-bit program on 64-bit Windows (WOW64) takes another branch,
// decided from the bits of the process and the machine it runs on. Plain
// data (no windows.h), so that every (process, machine) case is checked
// natively: these machines run no 32-bit code, so no WOW64 path runs here.
#pragma once

#include "common/spooler_env.h"

enum class ProcessBits { k32, k64 };

// A 32-bit process on x64 Windows. Then "system32" is redirected to
// SysWOW64 (the monitor library must be copied with redirection off), and
// UpdateDriverForPlugAndPlayDevices fails with ERROR_IN_WOW64, so the forced
// USB driver update runs in the 64-bit helper program.
bool RunsUnderWow64(ProcessBits bits, NativeMachine machine);

#ifdef _WIN32
constexpr ProcessBits CurrentProcessBits()
{
    return sizeof(void*) == 4 ? ProcessBits::k32 : ProcessBits::k64;
}

// RunsUnderWow64 for the calling process on the running system.
bool CurrentProcessRunsUnderWow64();
#endif
