// The native file system for a 32-bit program under WOW64: there "system32"
// names SysWOW64, where the 64-bit spooler never looks for a monitor.
#pragma once

#include <windows.h>

// Switches WOW64 file-system redirection off for the calling thread while
// the object lives, and back on when it ends. The switches are looked up at
// run time: 32-bit Windows does not export them, and needs none. Keep the
// scope short: with redirection off, loading a system library on this
// thread would find the 64-bit one.
class Wow64RedirectionOff {
public:
    Wow64RedirectionOff();
    ~Wow64RedirectionOff();
    Wow64RedirectionOff(const Wow64RedirectionOff&) = delete;
    Wow64RedirectionOff& operator=(const Wow64RedirectionOff&) = delete;

private:
    typedef BOOL(WINAPI* RevertProc)(PVOID);

    HMODULE m_kernel = nullptr;
    RevertProc m_revert = nullptr;
    PVOID m_state = nullptr;
};
