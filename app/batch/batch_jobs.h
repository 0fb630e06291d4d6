// Batch actions on many containers run in worker processes side by side. Actions that share a file stay
// together, in the order given, in one worker: one container's would only wait for one another on its
// lock, and no step may overtake one whose file it uses. Each worker has its own
// lib directory, so scratch files of equally named containers never meet. What the actions print is
// passed on in the order the actions were given, whichever finished first.
#pragma once
#include "app/batch/batch_options.h"
#include "app/batch/batch_workers.h"
#include <functional>
#include <string>

namespace batch {
// Runs every action (with `run`, which says whether it succeeded) in up to `jobs` workers, whose lib
// directories get the helpers from `helpers`; true when every action succeeded.
bool RunInJobs(const std::vector<Action>& actions, unsigned jobs, const std::string& helpers,
               const std::function<bool(const Action&)>& run);
// A worker's part: its own lib directory and save area inside the spool, then its actions, each with its
// output in files of its own and reported when finished.
void RunWorkerTask(const WorkerTask& task, const WorkerReport& report,
                   const std::function<bool(const Action&)>& run);
} // namespace batch
