#pragma once

#include "wizard_ui/wizard_page.h"

// The uninstaller's three pages: welcome, removing, finished.
extern const WizardPages g_uninstallPages;
