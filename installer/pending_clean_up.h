#pragma once

// Removes the RunOnce value of a removal's clean-up pass (only that value,
// only when it runs our uninstaller): after a reinstallation the pass would
// take the new installation's files at the next logon.
void CancelPendingCleanUp();
