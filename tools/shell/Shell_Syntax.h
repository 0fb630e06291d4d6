// The parsed form of a command line: chains of commands joined by "&" and "&&".
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace shell {

struct Redirection {
    std::string target; // as written, quotes included
    bool append = false;
};

struct Node;

enum class Joint {
    Always,    // "&": runs whatever happened before
    OnSuccess, // "&&": runs only when the command before succeeded
};

struct Step {
    Joint joint = Joint::Always;
    std::unique_ptr<Node> node;
};

struct Chain {
    std::vector<Step> steps;
};

struct Node {
    enum class Kind {
        Simple, // text: the command with carets resolved, quotes kept, redirections cut out
        Block,  // "( ... )": body
        IfExist // "if [not] exist <path> <body>": text is the path as written
    };
    Kind kind = Kind::Simple;
    std::string text;
    bool negate = false;
    Chain body;
    std::vector<Redirection> redirections;
};

// Parses an already expanded line; nothing on a syntax error.
std::optional<Chain> ParseLine(std::string_view line);

} // namespace shell
