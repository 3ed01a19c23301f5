#pragma once

#include "uninstaller/removal_step.h"

// Stops "Varnek Printer Service", waits at most 10 seconds for it to reach
// "stopped", and deletes it. A service that is not installed, will not stop
// or cannot be deleted passes silently. The service manager completes the
// deletion once the service has stopped and the uninstaller has ended.
RemovalResult RemovePrinterService();
