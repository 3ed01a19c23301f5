#pragma once

#include "installer/install_outcome.h"

// "/S": the wizard's folder checks and installation steps without any window.
// folder: the "/D=" text, or null for the wizard's proposed folder. The
// outcome is the process's exit code.
InstallOutcome InstallSilently(const char* folder);
