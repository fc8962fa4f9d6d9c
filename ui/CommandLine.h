// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

// What the command line asks before any window opens: --help and --version are answered
// on standard output, an unknown option and a machine with no display at all are told
// in one French line on standard error. Returns the exit status when the program ends
// there, nothing when the window is to open. Qt's own options (-platform…) are left to
// QApplication.
std::optional<int> answerBeforeWindow(int argc, char* argv[]);

// Until the next call with false, a display that Qt cannot reach ends the program with
// one French line and status 1 instead of Qt's abort and its core dump.
void endCleanlyWithoutDisplay(bool on);
