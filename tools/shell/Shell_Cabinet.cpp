// expand <cabinet> -f:<pattern> <folder>: extracts the matching files of a cabinet.
#include "Shell_Builtins.h"
#include "Shell_CabinetFiles.h"
#include "Shell_FileSystem.h"
#include "Shell_Session.h"
#include "Shell_Words.h"
#include <memory>
#include <mspack.h>
#include <vector>

namespace shell {
namespace {

struct DecompressorDeleter {
    void operator()(mscab_decompressor* decompressor) const { mspack_destroy_cab_decompressor(decompressor); }
};
using Decompressor = std::unique_ptr<mscab_decompressor, DecompressorDeleter>;

class OpenCabinet {
  public:
    OpenCabinet(mscab_decompressor* decompressor, const std::string& path)
        : decompressor_(decompressor), cabinet_(decompressor->open(decompressor, path.c_str())) {}
    ~OpenCabinet() {
        if (cabinet_ != nullptr) {
            decompressor_->close(decompressor_, cabinet_);
        }
    }
    OpenCabinet(const OpenCabinet&) = delete;
    OpenCabinet& operator=(const OpenCabinet&) = delete;
    mscabd_cabinet* get() const { return cabinet_; }

  private:
    mscab_decompressor* decompressor_;
    mscabd_cabinet* cabinet_;
};

struct Request {
    std::string cabinet;
    std::string folder;
    std::string pattern = "*";
};

bool ParseRequest(const Session& session, std::string_view arguments, Request& request) {
    std::vector<std::string> positional;
    for (const std::string& word : SplitWords(arguments)) {
        std::string plain = Unquote(word);
        if (plain.size() > 3 && (plain[0] == '-' || plain[0] == '/') && SameText(plain.substr(1, 2), "f:")) {
            request.pattern = plain.substr(3);
        } else {
            positional.push_back(word);
        }
    }
    if (positional.size() != 2) {
        return false;
    }
    request.cabinet = session.Resolve(positional[0]);
    request.folder = session.Resolve(positional[1]);
    return true;
}

// Cabinets name files with '\'; only the last part is kept, so nothing lands outside the folder.
std::string OutputName(const char* stored) {
    std::string name = BaseName(NativePath(stored != nullptr ? stored : ""));
    return (name == "." || name == "..") ? std::string() : name;
}

// Cabinets keep no permissions: programs get the execute bit.
unsigned ModeFor(const std::string& name) {
    return EndsWithText(name, ".exe") ? 0755 : 0644;
}

bool ExtractOne(mscab_decompressor* decompressor, mscabd_file* file, const std::string& target) {
    TempFile temp(target);
    if (!temp.valid()) {
        return false;
    }
    return decompressor->extract(decompressor, file, temp.path().c_str()) == MSPACK_ERR_OK &&
           temp.Commit(ModeFor(target));
}

} // namespace

int Builtin_Expand(Session& session, std::string_view arguments, int out) {
    Request request;
    if (!ParseRequest(session, arguments, request)) {
        ReportError("The syntax of the command is incorrect.");
        return 1;
    }
    // The library and this program must agree on the size of a file offset, or every structure
    // the library hands out is read askew (and no file is found in the cabinet).
    int selftest = MSPACK_ERR_OK;
    MSPACK_SYS_SELFTEST(selftest);
    if (selftest != MSPACK_ERR_OK) {
        ReportError("The cabinet library was built with another file offset size.");
        return 1;
    }
    Decompressor decompressor(mspack_create_cab_decompressor(CabinetFiles()));
    if (!decompressor || !IsDirectory(request.folder)) {
        ReportError("Can't open output folder " + request.folder);
        return 1;
    }
    OpenCabinet cabinet(decompressor.get(), request.cabinet);
    if (cabinet.get() == nullptr) {
        ReportError("Can't open input file: " + request.cabinet);
        return 1;
    }
    int status = 0;
    for (mscabd_file* file = cabinet.get()->files; file != nullptr; file = file->next) {
        std::string name = OutputName(file->filename);
        if (name.empty() || !MatchWildcard(request.pattern, name)) {
            continue;
        }
        std::string target = Absolute(request.folder, name);
        if (!ExtractOne(decompressor.get(), file, target)) {
            ReportError("Can't write " + target);
            status = 1;
            continue;
        }
        WriteAll(out, "Extracting " + name + "\n");
    }
    return status;
}

} // namespace shell
