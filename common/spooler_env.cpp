#include "common/spooler_env.h"

#ifdef _WIN32
#include <windows.h>
#endif

const char* SpoolerEnvironmentFor(NativeMachine machine)
{
    switch (machine) {
    case NativeMachine::kX64:
        return "Windows x64";
    case NativeMachine::kX86:
        return "Windows NT x86";
    default:
        return nullptr;
    }
}

NativeMachine NativeMachineOfPe(unsigned short peMachine)
{
    switch (peMachine) {
    case 0x8664:  // IMAGE_FILE_MACHINE_AMD64
        return NativeMachine::kX64;
    case 0x014C:  // IMAGE_FILE_MACHINE_I386
        return NativeMachine::kX86;
    default:
        return NativeMachine::kOther;
    }
}

#ifdef _WIN32
NativeMachine CurrentNativeMachine()
{
    // Looked up at run time: the uninstaller also starts on Windows versions
    // that lack these calls (and WOW64). IsWow64Process2 (Windows 10 1709
    // on) names the real machine even where x64 is emulated on ARM64.
    typedef BOOL(WINAPI * Wow64Process2Proc)(HANDLE, USHORT*, USHORT*);
    typedef void(WINAPI * NativeInfoProc)(LPSYSTEM_INFO);
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    Wow64Process2Proc wow64Process2 =
        kernel ? reinterpret_cast<Wow64Process2Proc>(
                     reinterpret_cast<void (*)()>(::GetProcAddress(kernel, "IsWow64Process2")))
               : nullptr;
    USHORT processMachine = 0, nativeMachine = 0;
    if (wow64Process2 && wow64Process2(::GetCurrentProcess(), &processMachine, &nativeMachine))
        return NativeMachineOfPe(nativeMachine);
    // GetSystemInfo reports the emulated x86 to a WOW64 process; only
    // GetNativeSystemInfo sees the real machine.
    SYSTEM_INFO info = {};
    NativeInfoProc nativeInfo = kernel ? reinterpret_cast<NativeInfoProc>(reinterpret_cast<void (*)()>(
                                             ::GetProcAddress(kernel, "GetNativeSystemInfo")))
                                       : nullptr;
    if (nativeInfo)
        nativeInfo(&info);
    else
        ::GetSystemInfo(&info);

    switch (info.wProcessorArchitecture) {
    case PROCESSOR_ARCHITECTURE_AMD64:
        return NativeMachine::kX64;
    case PROCESSOR_ARCHITECTURE_INTEL:
        return NativeMachine::kX86;
    default:
        return NativeMachine::kOther;
    }
}

const char* SpoolerEnvironment()
{
    return SpoolerEnvironmentFor(CurrentNativeMachine());
}
#endif
