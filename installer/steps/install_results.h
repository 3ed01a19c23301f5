// The results of an installation run and the texts the wizard shows for
// them. Portable (no windows.h).
#pragma once

#include <stddef.h>

#include "common/install_outcome.h"

// The text the wizard shows for a failure that stops the run before the
// system steps; null for the others, whose failures the closing message names.
const char* InstallOutcomeMessage(InstallOutcome outcome);

// What the closing message calls a failed step, in UTF-16 as the message is
// composed; null for an outcome that is no step.
const char16_t* StepName(InstallOutcome outcome);

// The results of the steps of one run, in the order they ran.
class InstallResults {
public:
    // One step's result: kInstalled, kRestartNeeded, or its failure.
    void Record(InstallOutcome outcome);

    // The run's outcome: the first failure; else kRestartNeeded when a step
    // needs the restart; else kInstalled.
    InstallOutcome Outcome() const;

    int FailureCount() const { return m_failureCount; }
    InstallOutcome Failure(int index) const { return m_failures[index]; }

private:
    static constexpr int kMaxFailures = 16;
    InstallOutcome m_failures[kMaxFailures] = {};
    int m_failureCount = 0;
    bool m_restartNeeded = false;
};

// The wizard's closing message for a run with failed steps, in UTF-16: each
// failed step by name, once, and where the log is (none when logPath is
// empty). The log path comes in UTF-16 and is kept as it is: converted from
// code page 936 with the texts, a path in another ANSI code page (an "ë" of
// 1252) would read as other characters. size in UTF-16 units; false, buffer
// empty, when it does not fit.
bool ComposeFailureMessage(char16_t* buffer, size_t size, const InstallResults& results, const char16_t* logPath);

// The "ERROR" box's text when the system has no message for the code (or
// the port command failed without saying why): the code in decimal and
// hexadecimal, so that it can still be looked up. False when it does not fit.
bool ComposePortErrorText(char* buffer, size_t size, unsigned long code);
