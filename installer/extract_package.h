#pragma once

class CInstallDlg;

// Unpacks the package appended to the installer's own file: the settings
// file into the data folder, every other entry into the folder of the folder
// box, with the output path as status text and the progress bar following.
// The whole package is verified first; nothing is written unless it is sound.
// 0 when every entry was processed, -1 when the own file cannot be opened or
// measured, -2 when the package is damaged, -3 (nothing written) when its
// modules are not built for this Windows.
int ExtractPackage(CInstallDlg* dlg);
