#include "uninstaller/steps/removal_step.h"

namespace {

// ERROR_FILE_NOT_FOUND and ERROR_PATH_NOT_FOUND.
const unsigned long kFileNotFound = 2;
const unsigned long kPathNotFound = 3;

}  // namespace

RemovalResult DeletionResult(unsigned long error)
{
    if (error == 0)
        return RemovalResult::Done();
    if (error == kFileNotFound || error == kPathNotFound)
        return RemovalResult::NothingThere();
    return RemovalResult::Failed(error);
}

RemovalResult Combined(RemovalResult first, RemovalResult second)
{
    if (first.kind == RemovalResult::Kind::kFailed)
        return first;
    if (second.kind == RemovalResult::Kind::kFailed)
        return second;
    if (first.kind == RemovalResult::Kind::kDone || second.kind == RemovalResult::Kind::kDone)
        return RemovalResult::Done();
    return RemovalResult::NothingThere();
}

int ProgressPosition(int done, int total)
{
    if (total <= 0)
        return 0;
    return static_cast<int>(static_cast<long long>(done) * 100 / total);
}
