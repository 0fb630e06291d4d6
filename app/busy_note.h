// While an action's command lines keep the window waiting, the status line says what is happening,
// with how far it has come where the files being written tell.
#pragma once
#include "app/Tool_Code.h"
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tool {
// A file a command line writes, and what it holds once done: `bytes`, or, for an Ogg file, `samples`
// (its last page's position).
struct WatchedFile {
    std::string path;
    uint64_t bytes = 0;
    uint64_t samples = 0;
};

// One part of an action's work: how much of it is done, from 0 to 1, asked on the window's thread while
// the work runs on another.
using WorkDone = std::function<double()>;

class BusyNoteScope {
  public:
    // "Importing bgm_01.sab…": what is done, to what. The parts are done one after the other; each
    // counts for an equal share of the whole.
    BusyNoteScope(const char* doing, const RValue& name, std::vector<WorkDone> parts = {});
    // Each file a part.
    BusyNoteScope(const char* doing, const RValue& name, const std::vector<WatchedFile>& files);
    ~BusyNoteScope();
    BusyNoteScope(const BusyNoteScope&) = delete;
    BusyNoteScope& operator=(const BusyNoteScope&) = delete;
};

// Import's files, from the container: the decoded WAV (HCA) and the preview, with their final sizes.
std::vector<WatchedFile> import_watch(const std::string& container, int64_t offset, bool ogg,
                                      const std::string& name);
// In the lib folder `lib` (ending in a separator). Export's: lib\export<extension> (its size or length known
// from the track for MP3, Ogg and WAV), then its decoding for the check. None for another format.
std::vector<WatchedFile> export_watch(const std::string& lib, const RValue& target);
// Replace's: the chosen file decoded, then encoded to HCA, from the length its headers give.
std::vector<WatchedFile> replace_watch(const std::string& lib, const RValue& chosen);
// Restore's, made in the tool itself: the backup copied over the container, then compared with it.
std::vector<WorkDone> restore_watch(const std::string& container);
} // namespace tool
