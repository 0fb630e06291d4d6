// Files handed to the program from outside: named on its command line or dropped on its window.
#pragma once
#include <string>
#include <vector>

// The files named on the command line, made absolute against the current folder; they come first.
void Handed_Start(const std::vector<std::string>& commandLineFiles);
