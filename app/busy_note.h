// While an action's command lines keep the window waiting, the status line says what is happening,
// with how far it has come where the files being written tell.
#pragma once
#include "app/Tool_Code.h"
#include <cstdint>
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

class BusyNoteScope {
  public:
    // "Importing bgm_01.sab…": what is done, to what. The files are written one after the other; each
    // counts for an equal share of the whole.
    BusyNoteScope(const char* doing, const RValue& name, std::vector<WatchedFile> files = {});
    ~BusyNoteScope();
    BusyNoteScope(const BusyNoteScope&) = delete;
    BusyNoteScope& operator=(const BusyNoteScope&) = delete;
};

// The sample position of an Ogg file's last page, 0 when it has none yet.
uint64_t ogg_last_position(const std::string& path);
// Import's files, from the container: the decoded WAV (HCA) and the preview, with their final sizes.
std::vector<WatchedFile> import_watch(const std::string& container, int64_t offset, bool ogg,
                                      const std::string& name);
} // namespace tool
