// The architecture check made before anything is written: the packed
// modules that Windows' own processes load (the spooler loads the driver
// modules and the monitor library, the USB stack the device driver) must be
// built for the running system's processor. Programs that run in their own
// process (the service, the notice program, the uninstaller) run under WOW64
// as well and are not judged. Portable (no windows.h): it reads the PE
// headers from the inflated entry bytes. Which members are judged is the
// product table's machine check (common/product.h), matched by entry name
// without regard to case.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "common/spooler_env.h"
#include "package/package_reader.h"

constexpr uint16_t kPeMachineI386 = 0x014C;
constexpr uint16_t kPeMachineAmd64 = 0x8664;

// The PE machine of the running system's own processes; 0 for a machine the
// package cannot be built for here, which no module matches.
uint16_t PeMachineFor(NativeMachine machine);

// The machine field of the PE header at the start of an image's first size
// bytes, 0 when they hold no PE header.
uint16_t PeMachineOf(const unsigned char* image, size_t size);

// True when every such module of the package has a PE header for machine;
// false for one that is no PE image, and for a machine (ARM64) that no
// package of ours is built for. Reads the verified package; the input
// position is left anywhere.
bool PackedModulesFit(PackageInput& input, const PackageLayout& layout, NativeMachine machine);
