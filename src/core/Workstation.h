#pragma once
#include <QString>

// Who and where the program runs: the error log records both with every error.
// They sit at the bottom so that the configuration session can reach them.

// The machine's name, at most 20 characters, trimmed.
QString GetComputerNameText();
// The logged-on user's name in upper case; "UNKNOWN" when it cannot be read.
QString GetWindowsUserName();
