#include "uninstaller/removal_progress.h"

int ProgressPosition(int done, int total)
{
    if (total <= 0)
        return 0;
    return static_cast<int>(static_cast<long long>(done) * 100 / total);
}
