// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace korvalin::cli {

// Standard output, written in large blocks: lines gather here and go out when the
// block is full, on flush(), or at each line when standard output is a terminal.
class Output {
public:
    Output();
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;
    ~Output() { flush(); }

    void writeLine(std::string_view line);
    // Writes out what has gathered; false once a write has failed (errno says why).
    bool flush();
    bool failed() const { return failed_; }

private:
    std::array<char, 64 * 1024> block_{};
    std::size_t used_ = 0;
    bool lineByLine_;
    bool failed_ = false;
};

} // namespace korvalin::cli
