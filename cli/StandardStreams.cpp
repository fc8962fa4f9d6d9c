// SPDX-License-Identifier: GPL-3.0-or-later
#include "StandardStreams.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace korvalin::cli {

#ifdef _WIN32
namespace {
UINT consoleOutputCodePage = 0;
void restoreConsoleCodePage() {
    SetConsoleOutputCP(consoleOutputCodePage);
}
} // namespace

void setUpStandardStreams() {
    _setmode(_fileno(stdin), _O_BINARY);
    consoleOutputCodePage = GetConsoleOutputCP();
    if (consoleOutputCodePage != 0 && consoleOutputCodePage != CP_UTF8) {
        // The code page is the console's, not the process's: put it back on the way out.
        SetConsoleOutputCP(CP_UTF8);
        std::atexit(restoreConsoleCodePage);
    }
}

long readStandardInput(char* buffer, std::size_t size) {
    return _read(_fileno(stdin), buffer, static_cast<unsigned>(size < INT_MAX ? size : INT_MAX));
}

bool standardOutputIsTerminal() {
    return _isatty(_fileno(stdout)) != 0;
}
#else
void setUpStandardStreams() {}

long readStandardInput(char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t count = read(STDIN_FILENO, buffer, size);
        if (count >= 0 || errno != EINTR) {
            return static_cast<long>(count);
        }
    }
}

bool standardOutputIsTerminal() {
    return isatty(STDOUT_FILENO) != 0;
}
#endif

} // namespace korvalin::cli
