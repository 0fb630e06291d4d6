#include "app/actions/write_failure.h"

namespace tool {
std::string write_failure_text(WriteProblem problem, const std::string& subject) {
    switch (problem) {
    case WriteProblem::NoSpace:
        return "no space is left on the disk";
    case WriteProblem::ReadOnlyDisk:
        return "the disk is read-only";
    case WriteProblem::ReadOnlyFolder:
        return subject + " is read-only";
    case WriteProblem::ReadOnlyFile:
        return "the " + subject + " is read-only";
    case WriteProblem::MissingFolder:
        return subject + " does not exist";
    case WriteProblem::TooBig:
        return "the file would pass the size limit set for the tool";
    case WriteProblem::Other:
        break;
    }
    return "the system reports: " + subject;
}
} // namespace tool
