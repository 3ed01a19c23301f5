#pragma once

#include "wizard_ui/wizard_page.h"

// The installer's four pages: welcome, choose folder, installing, finished.
extern const WizardPages g_installPages;
