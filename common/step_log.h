// The plain-text log of an installation or a removal, for support staff: one
// line per step (common/log_line.h), written as it goes, so that a program
// that dies leaves the lines up to that moment. One log per process; without
// an open log the calls do nothing.
#pragma once

#include <stddef.h>

// The default place: "%TEMP%\<fileName>". False when it does not fit.
bool DefaultLogPath(char* buffer, size_t size, const char* fileName);

// Creates the log, or empties the one of an earlier run; with append, adds
// to it instead (a run that goes on in a later process). A path that names a
// link or a file with more than one name is not written through: false, and
// nothing is logged.
bool OpenStepLog(const char* path, bool append = false);

// The path of the open log; empty when there is none.
const char* StepLogPath();

void CloseStepLog();

// Writes one line, now.
void LogStep(const char* step, const char* object, const char* result, unsigned long error);

// "ok" for error 0, else "failed", with the code.
void LogResult(const char* step, const char* object, unsigned long error);

// A deletion's line: "ok" for error 0, "not there" for a file or folder that
// does not exist, else "failed", with the code.
void LogDeletion(const char* step, const char* object, unsigned long error);
