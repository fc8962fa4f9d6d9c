// SPDX-License-Identifier: GPL-3.0-or-later
#include "Output.h"

#include "StandardStreams.h"

#include <cstdio>

namespace korvalin::cli {

Output::Output() : lineByLine_(standardOutputIsTerminal()) {
    // Blocks are gathered here: the C library need not copy them once more.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
}

void Output::writeLine(std::string_view line) {
    if (line.size() + 1 > block_.size() - used_) {
        flush();
    }
    // A line is a result, a few dozen bytes: it always fits in an empty block.
    line.copy(block_.data() + used_, line.size());
    used_ += line.size();
    block_[used_++] = '\n';
    if (lineByLine_) {
        flush();
    }
}

bool Output::flush() {
    if (used_ > 0 && !failed_) {
        failed_ = std::fwrite(block_.data(), 1, used_, stdout) != used_;
    }
    used_ = 0;
    return !failed_;
}

} // namespace korvalin::cli
