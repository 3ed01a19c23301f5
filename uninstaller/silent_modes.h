// The two modes without a window. Both act only on the installation they
// belong to; for any other argument they do nothing, silently.
#pragma once

// The clean-up pass (one argument, the installation folder): when the folder
// is the one this executable runs from, copy self to a temporary file, clean
// up the installation, and start the copy as the finisher.
void RunCleanUpPass(const char* folder);

// The finisher (the temporary copy): when folder is the product key's
// "Program Directory" and exePath its "Uninstaller.exe", wait for the
// clean-up pass to end, delete that executable, remove the installation
// folder if it is empty, and arrange the copy's own deletion. folder may be
// null (only two arguments): then nothing is checked, so nothing is done.
void RunFinisher(const char* processId, const char* exePath, const char* folder);
