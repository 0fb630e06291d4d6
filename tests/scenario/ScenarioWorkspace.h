// The temporary folders a scenario runs in: APPDATA, the program folder (tuner.dll, lib.win), a
// work folder for the user's files and a home (HOME and its .config) for what the tool remembers.
// Removed at the end unless kept.
#pragma once
#include <string>

class ScenarioWorkspace {
  public:
    // `root`: the folder to make it in (it must not exist), or "" for a new temporary one.
    ScenarioWorkspace(const std::string& binFolder, bool keep, const std::string& root = "");
    ~ScenarioWorkspace();
    ScenarioWorkspace(const ScenarioWorkspace&) = delete;
    ScenarioWorkspace& operator=(const ScenarioWorkspace&) = delete;

    const std::string& Root() const { return root_; }
    std::string AppData() const { return root_ + "/appdata"; }
    std::string Program() const { return root_ + "/program"; }
    std::string Work() const { return root_ + "/work"; }
    std::string Home() const { return root_ + "/home"; }

  private:
    std::string root_;
    bool keep_;
};
