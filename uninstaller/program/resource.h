// Resource ids of the uninstaller (shared ones: wizard_ui/wizard_ids.h).
#pragma once

#include "wizard_ui/wizard_ids.h"

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_UNINSTALL 129
#define IDB_SIDE_PICTURE 130
#define IDB_HEADER_LOGO 132

#define IDC_RESTART 1000
#define IDC_ABOUT_ICON 1010
#define IDC_ABOUT_TITLE 1011
#define IDC_ABOUT_VERSION 1012

// System-menu command of the about box (below 0xF000, low four bits clear).
#define IDM_ABOUTBOX 0x0010
