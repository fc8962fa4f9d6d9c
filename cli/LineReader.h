// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ConvertText.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace korvalin::cli {

class Output;

// Standard input, line by line, read in large blocks. Only the beginning of a line is
// ever held, so that memory stays the same whatever the input: a longer line is
// skipped to its end and reported as too long. Lines end with LF or CRLF; the last may
// have no line end; any other byte, NUL included, is part of a line.
class LineReader {
public:
    enum class Status { line, tooLong, end, failed };

    // `pending` is written out before each wait for input, so that someone typing at a
    // terminal sees each result as soon as the line is read.
    explicit LineReader(Output& pending);

    // The next line, without its line end, in `line` (valid until the next call).
    Status next(std::string_view& line);

private:
    bool readMore();

    Output& pending_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0; // the unread bytes are [begin_, end_)
    std::size_t end_ = 0;
    bool atEnd_ = false;
};

} // namespace korvalin::cli
