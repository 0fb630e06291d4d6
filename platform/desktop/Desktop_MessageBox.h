// Message boxes and Yes/No questions on GTK 3.
#pragma once
#include <string>

void Desktop_ShowMessage(const std::string& text, const std::string& caption);
// Yes is the Return default; Escape and the window's close button do nothing. No box: No.
bool Desktop_AskYesNo(const std::string& text, const std::string& caption);
