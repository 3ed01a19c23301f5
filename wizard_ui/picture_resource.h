// The page pictures from the program's own resources.
#pragma once

#include <windows.h>

#include "wizard_ui/picture_format.h"

// The stored picture of resource nIDResource (RT_RCDATA), decoded by decode
// into a 24-bit DIB section; null when it is missing or damaged. The caller
// deletes it.
HBITMAP LoadPicture(UINT nIDResource, PictureDecoder decode);
