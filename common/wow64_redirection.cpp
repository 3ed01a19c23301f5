#include "common/wow64_redirection.h"

#include "common/wow64_rules.h"

namespace {

typedef BOOL(WINAPI* DisableProc)(PVOID*);

template <class Proc>
Proc KernelProc(HMODULE kernel, const char* name)
{
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(::GetProcAddress(kernel, name)));
}

}  // namespace

Wow64RedirectionOff::Wow64RedirectionOff()
{
    if (!CurrentProcessRunsUnderWow64())
        return;
    m_kernel = ::LoadLibraryA("Kernel32.dll");
    if (!m_kernel)
        return;
    DisableProc disable = KernelProc<DisableProc>(m_kernel, "Wow64DisableWow64FsRedirection");
    if (disable && disable(&m_state))
        m_revert = KernelProc<RevertProc>(m_kernel, "Wow64RevertWow64FsRedirection");
}

Wow64RedirectionOff::~Wow64RedirectionOff()
{
    if (m_revert)
        m_revert(m_state);
    if (m_kernel)
        ::FreeLibrary(m_kernel);
}
