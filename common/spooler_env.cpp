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

#ifdef _WIN32
NativeMachine CurrentNativeMachine()
{
    // GetSystemInfo reports the emulated x86 to a WOW64 process; only
    // GetNativeSystemInfo sees the real machine. Looked up at run time: the
    // uninstaller also starts on Windows versions that lack it (and WOW64).
    typedef void(WINAPI * NativeInfoProc)(LPSYSTEM_INFO);
    SYSTEM_INFO info = {};
    HMODULE kernel = ::LoadLibraryA("Kernel32.dll");
    NativeInfoProc nativeInfo = kernel ? reinterpret_cast<NativeInfoProc>(reinterpret_cast<void (*)()>(
                                             ::GetProcAddress(kernel, "GetNativeSystemInfo")))
                                       : nullptr;
    if (nativeInfo)
        nativeInfo(&info);
    else
        ::GetSystemInfo(&info);
    if (kernel)
        ::FreeLibrary(kernel);

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
