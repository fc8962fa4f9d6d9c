// SPDX-License-Identifier: GPL-3.0-or-later
#include "Conversions.h"

#include "ConvertText.h"
#include "FailureText.h"
#include "LineReader.h"
#include "Output.h"
#include "Quote.h"
#include "Worths.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

namespace korvalin::cli {
namespace {

std::string tooLong() {
    return "Ce texte est trop long : un montant tient en au plus " +
           std::to_string(kLongestAmount) + " octets.";
}

// Writes "korvalin: ligne 12 : <why>" on standard error, after the results before it.
void reportRefusal(Output& output, const char* where, std::uintmax_t number,
                   const std::string& why) {
    output.flush();
    std::fprintf(stderr, "korvalin: %s %ju : %s\n", where, number, why.c_str());
}

// Converts one amount, as its line and the reason it was refused.
WorthLine convertLine(std::string_view amount, ConversionDirection direction) {
    Converted converted = convertText(amount, direction);
    if (converted.refusal) {
        return {{}, failureText(*converted.refusal, amount, quoteText, Audience::terminal)};
    }
    return {std::move(converted.result), {}};
}

// Converts one amount, or with --de expresses it in another year, and writes its line;
// false when it was refused.
bool convertOne(std::string_view amount, const Options& options, Output& output, const char* where,
                std::uintmax_t number) {
    const WorthLine line = options.purchasingPower ? worthLine(amount, options)
                                                   : convertLine(amount, *options.direction);
    output.writeLine(line.result);
    if (!line.refusal.empty()) {
        reportRefusal(output, where, number, line.refusal);
    }
    return line.refusal.empty();
}

bool isBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

int finish(Output& output, bool allConverted) {
    if (!output.flush()) {
        std::fprintf(stderr, "korvalin: écriture impossible : %s\n", std::strerror(errno));
        return 1;
    }
    return allConverted ? 0 : 1;
}

} // namespace

int convertArguments(const Options& options) {
    Output output;
    bool allConverted = true;
    std::uintmax_t number = 0;
    for (const std::string_view amount : options.amounts) {
        ++number;
        if (amount.size() > kLongestAmount) {
            output.writeLine({});
            reportRefusal(output, "argument", number, tooLong());
            allConverted = false;
        } else {
            allConverted = convertOne(amount, options, output, "argument", number) && allConverted;
        }
    }
    return finish(output, allConverted);
}

int convertStandardInput(const Options& options) {
    Output output;
    LineReader input(output);
    bool allConverted = true;
    std::string_view line;
    for (std::uintmax_t number = 1;; ++number) {
        if (output.failed()) {
            return finish(output, allConverted); // no use reading on
        }
        switch (input.next(line)) {
        case LineReader::Status::end:
            return finish(output, allConverted);
        case LineReader::Status::failed:
            output.flush();
            std::fprintf(stderr, "korvalin: lecture impossible : %s\n", std::strerror(errno));
            return 1;
        case LineReader::Status::tooLong:
            output.writeLine({});
            reportRefusal(output, "ligne", number, tooLong());
            allConverted = false;
            break;
        case LineReader::Status::line:
            if (isBlank(line)) {
                output.writeLine({});
            } else {
                allConverted = convertOne(line, options, output, "ligne", number) && allConverted;
            }
            break;
        }
    }
}

} // namespace korvalin::cli
