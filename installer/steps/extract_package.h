#pragma once

#include "installer/steps/install_results.h"
#include "installer/steps/installation.h"

// Unpacks the package appended to the installer's own file (opened by a
// static object before WinMain runs, held until the program ends, and read
// through that handle only, never again by path): the settings file into the
// data folder (an existing one is the user's and stays), every other entry
// into the installation folder, with the output path as status text and the progress
// following, one log line per entry.
// The whole package is verified and measured first; nothing is written unless
// it is sound, within its bound, built for this Windows and fits the target
// volumes. Then the printer service is stopped (serviceStopped: it ran and
// was asked to stop). kInstalled when every entry was written;
// kRestartNeeded when a file in use gets its new one at the next restart;
// otherwise the outcome to show (a write failure stops at the entry that
// failed).
InstallOutcome ExtractPackage(const Installation& installation, InstallProgress& progress, bool& serviceStopped);
