// Names and values that the installer and the uninstaller share.
#pragma once

#define VARNEK_PRINTER_DRIVER "Varnek Printer Driver"
#define VARNEK_PORT_MONITOR "Varnek Monitor"
#define VARNEK_MONITOR_LIBRARY "VarnekRt81.dll"
#define VARNEK_PORT "USB PORT:"
#define VARNEK_PRINTER_QUEUE "VarnekPrinter"
#define VARNEK_SERVICE "Varnek Printer Service"
#define VARNEK_UNINSTALLER_FILE "Uninstaller.exe"
