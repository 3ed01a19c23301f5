// What every removal step shares: the result it reports and the progress it
// moves. Portable (no windows.h), so the arithmetic is tested natively.
#pragma once

// What a removal step reports. The removal goes on whatever one step reports
// (a failed item stays, and its log line says why), so the result is for a
// caller that wants to know, never a reason to stop.
struct RemovalResult {
    enum class Kind {
        kDone,          // removed, wholly or in part, and nothing failed
        kNothingThere,  // there was nothing of ours to remove
        kFailed,        // something of ours stays
    };
    Kind kind;
    unsigned long error;  // the Windows error code of the first failure, else 0

    static RemovalResult Done() { return {Kind::kDone, 0}; }
    static RemovalResult NothingThere() { return {Kind::kNothingThere, 0}; }
    static RemovalResult Failed(unsigned long error) { return {Kind::kFailed, error}; }
};

// A deletion by its Windows error code: 0 is done, a file or path that does
// not exist is nothing there, any other code a failure.
RemovalResult DeletionResult(unsigned long error);

// A step of several parts: the first failure; else done when any part
// removed something; else nothing there.
RemovalResult Combined(RemovalResult first, RemovalResult second);

// Where a step of many items shows how far it is (the wizard's bar).
class RemovalProgress {
public:
    virtual void SetPosition(int percent) = 0;

protected:
    ~RemovalProgress() = default;
};

// The progress position after `done` of `total` removal items: done / total
// of 100, cut toward zero, so that the last item gives exactly 100. Integer
// arithmetic: in floating point 29 / 100 * 100 comes out as 28.999...
int ProgressPosition(int done, int total);
