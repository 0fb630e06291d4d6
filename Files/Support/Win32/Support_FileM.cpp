#include "Support/Win32/Support_FileM.h"
#include "Runner/Runner_Log.h"
#include "Support/Win32/Support_System.h"
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace {
struct FileAreas {
    std::string saveArea;
    std::string programFolder;
    std::vector<std::string> chosenForReading;
    std::vector<std::string> chosenForWriting;
};

FileAreas& Areas() {
    static FileAreas areas;
    return areas;
}

// A folder given with the system's separator at its end (the executable's folder on Windows) keeps it.
std::string WithTrailingSlash(std::string folder) {
    if (folder.empty() || (folder.back() != '/' && folder.back() != '\\')) {
        folder += '/';
    }
    return folder;
}

// Names come with either separator; on this platform only '/' separates.
fs::path PosixPath(std::string_view name) {
    std::string text(name);
    std::replace(text.begin(), text.end(), '\\', '/');
    return System_Path(text);
}

fs::path NormalPath(std::string_view name) {
    return PosixPath(name).lexically_normal();
}

bool ClimbsOut(const fs::path& relative) {
    return std::any_of(relative.begin(), relative.end(), [](const fs::path& part) { return part == ".."; });
}

// Symlinks are followed so that a link inside a folder cannot lead out of it.
fs::path RealPath(const fs::path& path) {
    std::error_code error;
    fs::path real = fs::weakly_canonical(path, error);
    return error ? path : real;
}

// The part of path below folder, or an empty path when path is not inside folder.
fs::path BelowFolder(const fs::path& path, const std::string& folder) {
    if (folder.empty()) {
        return {};
    }
    fs::path below = RealPath(path).lexically_relative(RealPath(System_Path(folder)));
    if (below.empty() || ClimbsOut(below)) {
        return {};
    }
    return below;
}

bool IsInside(const fs::path& path, const std::string& folder) {
    return !BelowFolder(path, folder).empty();
}

bool IsListed(const std::vector<std::string>& list, const fs::path& path) {
    return std::find(list.begin(), list.end(), System_PathText(path)) != list.end();
}

fs::path CurrentFolder() {
    std::error_code error;
    fs::path current = fs::current_path(error);
    return error ? fs::path() : current;
}

// Re-roots a name below `from` into `to`; empty when the name is not below `from` or the
// result would leave `to` through a link.
std::string Reroot(const fs::path& path, const fs::path& from, const std::string& to) {
    fs::path below = BelowFolder(path, System_PathText(from));
    if (below.empty() || to.empty()) {
        return {};
    }
    fs::path rerooted = (System_Path(to) / below).lexically_normal();
    return IsInside(rerooted, to) ? System_PathText(rerooted) : std::string();
}

std::string Refuse(std::string_view name, bool log) {
    if (log) {
        Runner_Log("Error! not allowing save with filename '%.*s'\n", static_cast<int>(name.size()),
                   name.data());
    }
    return {};
}

std::string WriteResolution(std::string_view name, bool log) {
    const FileAreas& areas = Areas();
    if (name.empty() || areas.saveArea.empty()) {
        return {};
    }
    fs::path path = PosixPath(name);
    if (path.is_relative()) {
        // Any "..", even one that would stay inside, is refused: names are not meant to climb.
        if (ClimbsOut(path)) {
            return Refuse(name, log);
        }
        fs::path inSaveArea = (System_Path(areas.saveArea) / path).lexically_normal();
        return IsInside(inSaveArea, areas.saveArea) ? System_PathText(inSaveArea) : Refuse(name, log);
    }
    path = path.lexically_normal();
    if (IsInside(path, areas.saveArea) || IsListed(areas.chosenForWriting, path)) {
        return System_PathText(path);
    }
    // Writes aimed at the program's own folders go to the save area instead.
    for (const fs::path& folder : {System_Path(areas.programFolder), CurrentFolder()}) {
        std::string redirected = Reroot(path, folder, areas.saveArea);
        if (!redirected.empty()) {
            if (log) {
                Runner_Log("Warning! Save location - redirected to: '%s'\n", redirected.c_str());
            }
            return redirected;
        }
    }
    return Refuse(name, log);
}
} // namespace

void FileM_SetSaveArea(const std::string& folder) {
    Areas().saveArea = WithTrailingSlash(folder);
}
void FileM_SetProgramFolder(const std::string& folder) {
    Areas().programFolder = WithTrailingSlash(folder);
}
const std::string& FileM_SaveArea() {
    return Areas().saveArea;
}
const std::string& FileM_ProgramFolder() {
    return Areas().programFolder;
}

std::string FileM_DefaultAppData() {
    const char* value = std::getenv("APPDATA");
    if (value != nullptr && *value != '\0') {
        return value;
    }
    return System_DefaultAppData();
}

std::string FileM_SaveAreaIn(const std::string& appData) {
    return WithTrailingSlash(appData) + "Morvane_Radio_Tuner/";
}

std::string FileM_ResolveWrite(std::string_view name) {
    return WriteResolution(name, true);
}

std::string FileM_ResolveRead(std::string_view name) {
    const FileAreas& areas = Areas();
    if (name.empty()) {
        return {};
    }
    fs::path current = CurrentFolder();
    fs::path path = (current / NormalPath(name)).lexically_normal();
    if (IsInside(path, areas.programFolder)) {
        return System_PathText(path);
    }
    // A picked path wins over re-rooting: the user may pick a file below the current folder.
    if (IsListed(areas.chosenForReading, path)) {
        return System_PathText(path);
    }
    return Reroot(path, current, areas.programFolder);
}

std::string FileM_ResolveExisting(std::string_view name) {
    // A picked file is the one the user meant, even if a redirected namesake exists.
    fs::path normal = NormalPath(name);
    if (normal.is_absolute() && IsListed(Areas().chosenForReading, normal)) {
        return System_PathText(normal);
    }
    std::string written = WriteResolution(name, false);
    return FileM_IsFile(written) ? written : FileM_ResolveRead(name);
}

bool FileM_IsFile(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(System_Path(path), error);
    return !path.empty() && fs::exists(status) && !fs::is_directory(status);
}

void FileM_AddChosenForReading(const std::string& path) {
    Areas().chosenForReading.push_back(System_PathText(NormalPath(path)));
}

void FileM_AddChosenForWriting(const std::string& path) {
    Areas().chosenForWriting.push_back(System_PathText(NormalPath(path)));
}

void FileM_ClearChosen() {
    Areas().chosenForReading.clear();
    Areas().chosenForWriting.clear();
}
