// The two modes of the next logon, after a removal: the clean-up pass that
// RunOnce starts, and the finisher it hands over to. Neither has a window.
// Both act only on the installation they belong to; for any other argument
// they do nothing, silently.
#pragma once

// The clean-up pass (one argument, the installation folder): when the folder
// is the one this executable runs from, copy self to a temporary file, clean
// up the installation, and start the copy as the finisher.
void RunCleanUpPass(const char* folder);

// The finisher (the temporary copy): when folder is the product key's
// "Program Directory" and exePath its "Uninstaller.exe", wait for the
// clean-up pass to end (processHandle: the number of its inherited process
// handle), delete that executable and remove the installation folder if it
// is empty. folder may be null (only two arguments): then nothing is
// checked, so nothing of that is done. Run from a temporary copy, it
// arranges the copy's own deletion either way.
void RunFinisher(const char* processHandle, const char* exePath, const char* folder);
