/* Stand-in for Nelvusb.sys, the printer's USB device driver: a kernel-driver
 * image of the flavour's machine, so that the installer's architecture check
 * judges it like the vendor's driver. It drives no device: DriverEntry claims
 * no dispatch routines and no AddDevice and returns STATUS_SUCCESS, so a
 * device manager that loads it (Wine's does once the package is installed
 * for an attached device) gets a driver that does nothing. No imports. */

/* NTSTATUS DriverEntry(PDRIVER_OBJECT, PUNICODE_STRING); neither argument is
 * touched, so no driver kit headers are needed. */
long __stdcall DriverEntry(void* driver_object, void* registry_path);

long __stdcall DriverEntry(void* driver_object, void* registry_path)
{
    (void)driver_object;
    (void)registry_path;
    return 0; /* STATUS_SUCCESS */
}
