// The built-in commands. Each gets the text after its name and the descriptor of its stdout,
// and returns its status (0 for success), as "&&" sees it.
#pragma once
#include <string_view>

namespace shell {

class Session;

using Builtin = int (*)(Session& session, std::string_view arguments, int out);

// The built-in of that command name, or nullptr.
Builtin FindBuiltin(std::string_view name);

int Builtin_Cd(Session& session, std::string_view arguments, int out);
int Builtin_Mkdir(Session& session, std::string_view arguments, int out);
int Builtin_Rmdir(Session& session, std::string_view arguments, int out);
int Builtin_Copy(Session& session, std::string_view arguments, int out);
int Builtin_Del(Session& session, std::string_view arguments, int out);
int Builtin_Echo(Session& session, std::string_view arguments, int out);
int Builtin_Start(Session& session, std::string_view arguments, int out);
int Builtin_Cmd(Session& session, std::string_view arguments, int out);
int Builtin_Expand(Session& session, std::string_view arguments, int out);

// A program in the session's folder, argv split by the C runtime's rules.
int RunProgram(Session& session, std::string_view text, int out);

// Diagnostics go to stderr, as the Windows interpreter's do.
void ReportError(std::string_view message);

} // namespace shell
