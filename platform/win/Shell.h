// The shell's "open" and "print" verbs.
//
// Both start a program directly with the address or file as one argument, never through a
// shell command string, so nothing in the address is ever interpreted. The programs are
// xdg-open and lp unless DBI_OPEN_COMMAND or DBI_PRINT_COMMAND names another (a path, or a
// name searched in PATH).
#pragma once

#include <string>

namespace win {

// Opens a web address (or a document) with the user's preferred program and does not wait for
// it. False with a reason when the program cannot be started.
bool OpenDocument(const std::string& address, std::string& error);
// Prints a file with the default printer and waits for the print command to take it. False
// with a reason when the file is missing or the command fails.
bool PrintFile(const std::string& path, std::string& error);

} // namespace win
