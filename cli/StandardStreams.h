// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace korvalin::cli {

// Sets the standard streams up for this program: standard input read as bytes, so that
// a Ctrl+Z or a CR in it on Windows is data like any other; on Windows, standard output
// and error keep the text mode (a line ends with CRLF there) and a console shows UTF-8.
void setUpStandardStreams();

// Reads at most `size` bytes of standard input, as soon as some are there: the count
// read, 0 at its end, -1 on an error (errno says which).
long readStandardInput(char* buffer, std::size_t size);

bool standardOutputIsTerminal();

} // namespace korvalin::cli
