// Resource ids of the uninstaller (shared ones: wizard_ui/wizard_ids.h).
#pragma once

#include "wizard_ui/wizard_ids.h"

#define IDB_SIDE_PICTURE 130
