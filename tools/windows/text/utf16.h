#pragma once
// UTF-8 inside, UTF-16 at every Windows call.
#include <string>
#include <string_view>

namespace win {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);
// A path for a wide file call: a long one gets the \\?\ form, which is not limited to MAX_PATH.
std::wstring wide_path(std::string_view utf8);
// The text of a Windows error code (GetLastError), in UTF-8.
std::string error_text(unsigned long code);

} // namespace win
