// SPDX-License-Identifier: GPL-3.0-or-later
#include "Conversions.h"

#include "ConvertText.h"
#include "FailureText.h"
#include "LineReader.h"
#include "Output.h"
#include "Quote.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

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

// Converts one amount and writes its line; false when it was refused.
bool convertOne(std::string_view amount, ConversionDirection direction, Output& output,
                const char* where, std::uintmax_t number) {
    const Converted converted = convertText(amount, direction);
    output.writeLine(converted.result);
    if (converted.refusal) {
        reportRefusal(output, where, number,
                      failureText(*converted.refusal, amount, quoteText, Audience::terminal));
    }
    return !converted.refusal;
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

int convertArguments(const std::vector<const char*>& amounts, ConversionDirection direction) {
    Output output;
    bool allConverted = true;
    std::uintmax_t number = 0;
    for (const std::string_view amount : amounts) {
        ++number;
        if (amount.size() > kLongestAmount) {
            output.writeLine({});
            reportRefusal(output, "argument", number, tooLong());
            allConverted = false;
        } else {
            allConverted =
                convertOne(amount, direction, output, "argument", number) && allConverted;
        }
    }
    return finish(output, allConverted);
}

int convertStandardInput(ConversionDirection direction) {
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
                allConverted = convertOne(line, direction, output, "ligne", number) && allConverted;
            }
            break;
        }
    }
}

} // namespace korvalin::cli
