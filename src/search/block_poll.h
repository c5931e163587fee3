#pragma once
// The question every long read asks after each block: go on, or give up on this file?

namespace twinex {

// Waits while the search is paused; false when a stop is requested or the user skips the
// current file (the skip request is used up here, so only this one file is given up).
bool ContinueAfterBlock();

}  // namespace twinex
