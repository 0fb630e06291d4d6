// The command interpreter: runs command lines with the Windows interpreter's semantics for the
// subset the tool's lines use. Programs are started directly, never through a system shell.
#pragma once
#include "Shell_Syntax.h"
#include <string>
#include <string_view>
#include <vector>

namespace shell {

// Status of a command that names neither a built-in nor a program in the current folder.
constexpr int NotFoundStatus = 9009;

class Session {
  public:
    // cwd: absolute folder the commands start in (the interpreter keeps its own, so a session can
    // live inside another program).
    explicit Session(std::string cwd);

    // Expands %NAME%, parses and runs the line with stdout on `out`; the status of the last
    // command run.
    int Run(std::string_view line, int out = 1);
    // Runs one command's text (already expanded and cut out of its line) with stdout on `out`.
    int RunCommand(std::string_view text, int out);

    const std::string& cwd() const { return cwd_; }
    void SetCwd(std::string folder) { cwd_ = std::move(folder); }
    // A path of a command line as the system's absolute path: quotes removed, separators made the
    // system's, names decoded, relative to cwd; `fromName` as DecodeNames gives it.
    std::string Resolve(std::string_view word, std::vector<bool>* fromName = nullptr) const;

  private:
    int RunChain(const Chain& chain, int out);
    int RunNode(const Node& node, int out);
    int RunRedirected(const Node& node);

    std::string cwd_;
};

} // namespace shell
