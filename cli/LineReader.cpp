// SPDX-License-Identifier: GPL-3.0-or-later
#include "LineReader.h"

#include "Output.h"
#include "StandardStreams.h"

#include <cstring>

namespace korvalin::cli {
namespace {

// A line of kLongestAmount bytes and its CR.
constexpr std::size_t kKeptBytes = kLongestAmount + 1;

std::string_view withoutCarriageReturn(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

} // namespace

LineReader::LineReader(Output& pending) : pending_(pending), buffer_(std::size_t{64} * 1024) {}

LineReader::Status LineReader::next(std::string_view& line) {
    bool skipping = false;
    for (;;) {
        const char* start = buffer_.data() + begin_;
        const std::size_t unread = end_ - begin_;
        if (const void* lineEnd = std::memchr(start, '\n', unread)) {
            const auto length = static_cast<std::size_t>(static_cast<const char*>(lineEnd) - start);
            begin_ += length + 1;
            line = withoutCarriageReturn({start, length});
            return skipping || line.size() > kLongestAmount ? Status::tooLong : Status::line;
        }
        if (skipping || unread > kKeptBytes) {
            skipping = true;
            begin_ = end_ = 0;
        } else {
            std::memmove(buffer_.data(), start, unread);
            begin_ = 0;
            end_ = unread;
        }
        if (atEnd_) {
            // The last line, without a line end.
            line = withoutCarriageReturn({buffer_.data(), end_});
            begin_ = end_;
            if (skipping || line.size() > kLongestAmount) {
                return Status::tooLong;
            }
            return line.empty() && end_ == 0 ? Status::end : Status::line;
        }
        if (!readMore()) {
            return Status::failed;
        }
    }
}

bool LineReader::readMore() {
    pending_.flush();
    const long count = readStandardInput(buffer_.data() + end_, buffer_.size() - end_);
    if (count < 0) {
        return false;
    }
    atEnd_ = count == 0;
    end_ += static_cast<std::size_t>(count);
    return true;
}

} // namespace korvalin::cli
