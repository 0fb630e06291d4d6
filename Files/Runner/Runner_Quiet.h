// Frames only when something can change. A frame is quiet when no input arrived, it read nothing of
// the outside world and acted on none of it (built-ins say so through Runner_MarkFrame), its drawing
// equals the picture shown, no room change is pending, and the whole state it left (every variable of
// every instance and of the global object, the instances' built-in variables, the instance list, the
// draw state) is one it has already been in since the last frame that was not quiet. From then on
// the frames repeat themselves until something arrives, so the loop waits for that with no timeout.
// Most often the repetition is of length one (a fade that has settled on its fixed point); the tool's
// splash counts half seconds with delta_time long after it is gone, which repeats every 120 frames.
// A sleep is indistinguishable from the frames it skips: the first frame after it finds the state the
// skipped frames would have left (the repetition's phase, each free-running animation's image_index).
#pragma once
#include <cstdint>
#include <string>

struct CInstance;

// A built-in read the outside world (the time, a file, the audio layer, a command line) or acted on
// it (a sound, a dialog, a file, the window, the cursor): its frame is not quiet.
void Runner_MarkFrame(const char* what);
// The cursor was set: a change of shape marks the frame (the tool sets the hand every frame the
// pointer rests on a button).
void Runner_NoteCursor(int cursor);

// At start: forgets every frame seen; `enabled` false makes no frame quiet (every frame runs).
void Runner_QuietStart(bool enabled);
bool Runner_QuietEnabled();
// Before a frame's first event.
void Runner_QuietBeginFrame();
// After a frame: whether the loop may sleep until something arrives.
bool Runner_QuietEndFrame(bool inputChanged, bool presented, bool roomPending);
// Before the first frame after a sleep in which `skipped` frames did not run: the state they would
// have left.
void Runner_QuietResume(int64_t skipped);
// Why the last frame was not quiet ("" when it was, or when the state was still new).
const char* Runner_QuietReason();

// Frames run ahead: after a frame that was quiet but for a state not seen before (a fade below what the
// picture shows), the loop may run the next frames at once, unshown, until the state repeats, and then
// sleep; a wake-up finds the state the skipped frames would have left, as after any sleep. A frame
// that would read or act on the world stops them before the built-in does anything (Runner_MarkFrame
// throws RunAheadStop), and whatever they changed is put back.
struct RunAheadStop {};
// Whether the last frame was quiet but for its state.
bool Runner_QuietSettling();
// Before the first frame run ahead: the state now is kept.
void Runner_AheadBegin();
// After a frame run ahead: whether to run another (false once the state repeats or the frame was not
// quiet but for its state).
bool Runner_AheadFrameEnd(bool inputChanged, bool pictureChanged, bool roomPending);
// After the last: the state put back as it was; whether the states to come were found (the loop may
// sleep).
bool Runner_AheadEnd();

// A hash of the whole state as above, free-running animations included (for tests comparing runs).
uint64_t Runner_StateFingerprint();
// The same state cell by cell, a line each ("instance 100005 obj 4 slot 27: 1"), for finding what differs.
std::string Runner_StateCells();
