#include "common/wow64_rules.h"

bool RunsUnderWow64(ProcessBits bits, NativeMachine machine)
{
    // 32-bit x86 code on ARM64 Windows runs under WOW64 too, but the packed
    // modules are refused there before anything is installed.
    return bits == ProcessBits::k32 && machine == NativeMachine::kX64;
}

#ifdef _WIN32
bool CurrentProcessRunsUnderWow64()
{
    return RunsUnderWow64(CurrentProcessBits(), CurrentNativeMachine());
}
#endif
