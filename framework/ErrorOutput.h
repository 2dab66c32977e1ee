#pragma once
// The standard error handle of a windowed program: there only when the starter
// handed one over (a redirection, a scheduler's output capture).
#include <string>

// Writes the text as lines ending in CR LF: to a console as Unicode, elsewhere as
// the ANSI bytes the program holds (what a file or a pipe reader of this code
// page expects). False when no usable handle is attached or the write failed.
bool WriteStandardError(const std::string& text);
