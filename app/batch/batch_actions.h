// The batch actions, run inside the runtime with the tool's own probe, command lines and helpers.
#pragma once
#include "app/batch/batch_options.h"

namespace batch {
// The helper programs out of lib.win into the lib directory; false (with the reason printed) when
// they are not all there afterwards.
bool UnpackHelpers();
// One action with its progress lines on stderr; false (with a one-line reason) when it failed, in which
// case every file it touched is as it was before.
bool RunAction(const Action& action);
} // namespace batch
