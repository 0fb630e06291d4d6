// Only one window of the tool runs at a time: a second one would delete the preview the first
// plays (its splash clears stream.ogg), overwrite its scratch files and, when closed, remove the
// lib directory the first still needs. Batch runs work in folders of their own and claim nothing.
#pragma once

namespace single_window {

// Claims the window for the rest of the process's life (an exclusive lock on window.lock in the
// save area); false while another window holds it.
bool Claim();

} // namespace single_window
