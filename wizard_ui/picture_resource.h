// The page pictures from the program's own resources.
#pragma once

#include <windows.h>

// The packed picture of resource nIDResource (RT_RCDATA) inflated into a
// 24-bit DIB section; null when it is missing or damaged. The caller
// deletes it.
HBITMAP LoadPackedPicture(UINT nIDResource);
