// Resource ids of the installer (shared ones: wizard_ui/wizard_ids.h).
#pragma once

#include "wizard_ui/wizard_ids.h"

#define IDD_INSTALL 102
#define IDB_SIDE_PICTURE 131
// Not the uninstaller's logo id: the page host carries both programs' pictures.
#define IDB_HEADER_LOGO 133
