#include "Shell_Session.h"
#include "Shell_Builtins.h"
#include "Shell_FileSystem.h"
#include "Shell_Names.h"
#include "Shell_Variables.h"
#include "Shell_Words.h"

namespace shell {

Session::Session(std::string cwd) : cwd_(std::move(cwd)) {}

std::string Session::Resolve(std::string_view word, std::vector<bool>* fromName) const {
    std::string path = DecodeNames(NativePath(Unquote(word)), fromName);
    std::string absolute = Absolute(cwd_, path);
    if (fromName != nullptr) {
        // The current folder is never a pattern either.
        fromName->insert(fromName->begin(), absolute.size() - path.size(), true);
    }
    return absolute;
}

int Session::Run(std::string_view line, int out) {
    std::optional<Chain> chain = ParseLine(ExpandVariables(line, EnvironmentVariable));
    if (!chain) {
        ReportError("The syntax of the command is incorrect.");
        return 1;
    }
    return RunChain(*chain, out);
}

int Session::RunChain(const Chain& chain, int out) {
    int status = 0;
    for (const Step& step : chain.steps) {
        // A skipped "&&" keeps the failure, so a later "&&" is skipped too.
        if (step.joint == Joint::OnSuccess && status != 0) {
            continue;
        }
        status = RunNode(*step.node, out);
    }
    return status;
}

int Session::RunNode(const Node& node, int out) {
    if (!node.redirections.empty()) {
        return RunRedirected(node);
    }
    switch (node.kind) {
    case Node::Kind::Block:
        return RunChain(node.body, out);
    case Node::Kind::IfExist:
        if (Exists(Resolve(node.text)) != node.negate) {
            return RunChain(node.body, out);
        }
        return 0;
    case Node::Kind::Simple:
        break;
    }
    return RunCommand(node.text, out);
}

// The files are opened before the command runs, as the Windows interpreter does; the last
// redirection is the one that receives the output.
int Session::RunRedirected(const Node& node) {
    UniqueFd file;
    for (const Redirection& redirection : node.redirections) {
        file = OpenForWriting(Resolve(redirection.target),
                              redirection.append ? Opening::Append : Opening::Truncate);
        if (!file.valid()) {
            ReportError("The system cannot find the path specified.");
            return 1;
        }
    }
    // Only simple commands and blocks carry redirections.
    if (node.kind == Node::Kind::Simple) {
        return RunCommand(node.text, file.get());
    }
    return RunChain(node.body, file.get());
}

int Session::RunCommand(std::string_view text, int out) {
    std::vector<std::string> words = SplitWords(text);
    if (words.empty()) {
        return 0;
    }
    size_t nameStart = text.find(words[0]);
    std::string_view arguments = text.substr(nameStart + words[0].size());
    if (Builtin builtin = FindBuiltin(Unquote(words[0]))) {
        return builtin(*this, arguments, out);
    }
    return RunProgram(*this, text, out);
}

} // namespace shell
