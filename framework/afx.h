// Our thin stand-in for the dialog framework: include this one header.
#pragma once

#include "framework/app.h"
#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/gdi.h"
#include "framework/text.h"
#include "framework/thread.h"
#include "framework/window.h"
