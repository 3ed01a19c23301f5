// Names and values that the installer and the uninstaller share.
#pragma once

#define VARNEK_PRINTER_DRIVER "Varnek Printer Driver"
#define VARNEK_PORT_MONITOR "Varnek Monitor"
#define VARNEK_MONITOR_LIBRARY "VarnekRt81.dll"
#define VARNEK_PORT "USB PORT:"
#define VARNEK_PRINTER_QUEUE "VarnekPrinter"
#define VARNEK_SERVICE "Varnek Printer Service"
#define VARNEK_UNINSTALLER_FILE "Uninstaller.exe"
// The 64-bit program that updates the USB driver for the 32-bit installer on 64-bit Windows.
#define VARNEK_USB_HELPER_FILE "VarnekUsb64.exe"
// Under HKEY_LOCAL_MACHINE, in the 64-bit registry view.
#define VARNEK_PRODUCT_KEY "Software\\VarnekPrinter"

// The product's entry in Programs and Features, under HKEY_LOCAL_MACHINE in
// the 64-bit registry view.
#define VARNEK_UNINSTALL_KEY "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VarnekPrinter"

// The version text of the payload package, also shown in the uninstaller's about box.
#define VARNEK_PACKAGE_VERSION "1.3.0.30"
