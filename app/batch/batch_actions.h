// The batch actions, run inside the runtime with the tool's own probe, command lines and helpers.
#pragma once
#include "app/batch/batch_options.h"

namespace batch {
// What an action does, as its progress lines name it ("replace a.sab with song.mp3").
std::string Describe(const Action& action);
// One action with its progress lines on stderr; false (with a one-line reason) when it failed, in which
// case every file it touched is as it was before.
bool RunAction(const Action& action);
} // namespace batch
