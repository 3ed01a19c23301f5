#pragma once

// Deletes the product's Programs and Features entry (HKLM, 64-bit view).
// Silent when there is none.
void RemoveUninstallEntry();
