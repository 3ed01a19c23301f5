// Resource and control ids shared by both wizard programs (also read by the
// resource scripts, so: preprocessor definitions only).
#pragma once

#define IDR_MAINFRAME 128

#define IDC_NEXT 1001
#define IDC_BROWSE 1002
#define IDC_BACK 1003
#define IDC_PROGRESS 1004
#define IDC_CANCEL_FINISH 1007
