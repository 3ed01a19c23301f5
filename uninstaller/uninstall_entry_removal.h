#pragma once

// Deletes the product's Programs and Features entry (HKLM, 64-bit view).
// Silent when there is none.
void RemoveUninstallEntry();

// True while the Programs and Features entry exists: the removal deletes it,
// an installation writes it.
bool IsUninstallEntryPresent();
