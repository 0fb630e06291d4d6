// Message boxes and Yes/No questions on SDL's message box, or GTK's where SDL cannot draw one.
#pragma once
#include <string>

void Desktop_ShowMessage(const std::string& text, const std::string& caption);
// Yes is the Return default; Escape and the window's close button do nothing. No box: No.
bool Desktop_AskYesNo(const std::string& text, const std::string& caption);
