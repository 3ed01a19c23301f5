// The print-spooler environment that drivers and monitors are registered
// for: always the environment of the running system's spooler, so that the
// files land where that spooler looks and the uninstaller removes what the
// installer registered.
#pragma once

// The processor architecture of the running system (not of the process: a
// 32-bit program under WOW64 talks to the 64-bit spooler).
enum class NativeMachine { kX86, kX64, kOther };

// The native machine a PE machine value names (IsWow64Process2 reports it
// so): x86 and x64 are ours; ARM64 and every other machine are kOther, which
// no package of ours fits (an x86 process on Windows 11 ARM64 may be shown
// x64 by GetNativeSystemInfo, as its emulation would run x64 code).
NativeMachine NativeMachineOfPe(unsigned short peMachine);

// "Windows x64" on x64, "Windows NT x86" on 32-bit x86; null elsewhere,
// which the spooler calls read as the caller's default environment.
const char* SpoolerEnvironmentFor(NativeMachine machine);

#ifdef _WIN32
NativeMachine CurrentNativeMachine();

// SpoolerEnvironmentFor(CurrentNativeMachine()).
const char* SpoolerEnvironment();
#endif
