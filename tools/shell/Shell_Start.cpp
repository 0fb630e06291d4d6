// start "" /b <command> and cmd.exe /c "<line>": a second interpreter, in the background or not.
#include "Shell_Builtins.h"
#include "Shell_Process.h"
#include "Shell_Session.h"
#include "Shell_Words.h"
#include <algorithm>

namespace shell {
namespace {

size_t SkipBlanks(std::string_view text, size_t i) {
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    return i;
}

size_t WordEnd(std::string_view text, size_t i) {
    while (i < text.size() && !IsBlank(text[i])) {
        ++i;
    }
    return i;
}

bool IsSpecial(char c) {
    return std::string_view("&<>()@^|").find(c) != std::string_view::npos;
}

// cmd /c keeps the quotes only when there are exactly two, around the name of a program with
// blanks and no special characters in it (never with /s); otherwise it drops the first character
// when it is a quote, and the last quote of the line.
std::string SlashCLine(const Session& session, std::string_view rest, bool stripAlways) {
    size_t first = rest.find('"');
    if (!stripAlways && std::count(rest.begin(), rest.end(), '"') == 2) {
        size_t second = rest.find('"', first + 1);
        std::string_view inner = rest.substr(first + 1, second - first - 1);
        bool plain = std::none_of(inner.begin(), inner.end(), IsSpecial);
        bool blanks = std::any_of(inner.begin(), inner.end(), IsBlank);
        if (plain && blanks && IsProgramFile(session.Resolve(inner))) {
            return std::string(rest);
        }
    }
    if (rest.empty() || rest.front() != '"') {
        return std::string(rest);
    }
    size_t last = rest.rfind('"');
    if (last == 0) {
        return std::string(rest.substr(1));
    }
    return std::string(rest.substr(1, last - 1)) + std::string(rest.substr(last + 1));
}

} // namespace

int Builtin_Start(Session& session, std::string_view arguments, int out) {
    size_t i = SkipBlanks(arguments, 0);
    if (i < arguments.size() && arguments[i] == '"') {
        size_t close = arguments.find('"', i + 1);
        i = close == std::string_view::npos ? arguments.size() : close + 1;
    }
    bool wait = false;
    for (i = SkipBlanks(arguments, i); i < arguments.size(); i = SkipBlanks(arguments, i)) {
        std::string_view word = arguments.substr(i, WordEnd(arguments, i) - i);
        if (!SameText(word, "/b") && !SameText(word, "/wait")) {
            break;
        }
        wait = wait || SameText(word, "/wait");
        i += word.size();
    }
    std::string_view command = arguments.substr(i);
    if (command.empty()) {
        ReportError("The system cannot find the file specified.");
        return 1;
    }
    if (wait) {
        Session foreground = session;
        return foreground.RunCommand(command, out);
    }
    return StartDetached(session, command, out);
}

int Builtin_Cmd(Session& session, std::string_view arguments, int out) {
    bool stripAlways = false;
    size_t i = SkipBlanks(arguments, 0);
    for (;; i = SkipBlanks(arguments, i)) {
        std::string_view word = arguments.substr(i, WordEnd(arguments, i) - i);
        if (SameText(word, "/c")) {
            break;
        }
        if (!SameText(word, "/s") && !SameText(word, "/q") && !SameText(word, "/d")) {
            ReportError("Only \"cmd /c\" is supported.");
            return 1;
        }
        stripAlways = stripAlways || SameText(word, "/s");
        i += word.size();
    }
    std::string_view rest = arguments.substr(SkipBlanks(arguments, i + 2));
    // A new interpreter: its own current folder, its own expansion of the line.
    Session nested = session;
    return nested.Run(SlashCLine(session, rest, stripAlways), out);
}

} // namespace shell
