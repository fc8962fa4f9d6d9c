// SPDX-License-Identifier: GPL-3.0-or-later
#include "Worths.h"

#include "PurchasingPower.h"
#include "Quote.h"

namespace korvalin::cli {
namespace {

constexpr std::string_view kLineForm = "chaque ligne commence par son année, puis une tabulation "
                                       "ou un point-virgule, comme « 1985;120 000 F ».";

} // namespace

WorthLine worthLine(std::string_view text, const Options& options) {
    std::optional<int> year = options.year;
    if (!year) {
        const std::size_t separator = text.find_first_of("\t;");
        if (separator == std::string_view::npos) {
            return {{},
                    quoted(text, quoteText) + " n'a pas d'année\u00A0: " + std::string(kLineForm)};
        }
        year = readYear(text.substr(0, separator));
        if (!year) {
            return {{},
                    quoted(text.substr(0, separator), quoteText) +
                        " n'est pas une année\u00A0: " + std::string(kLineForm)};
        }
        text.remove_prefix(separator + 1);
    }
    Worth answer = worthResult(text, readAmount(text), worthQuestion(options, *year), quoteText);
    if (answer.refusal) {
        return {{}, std::move(answer.sentence)};
    }
    return {std::move(answer.result), {}};
}

} // namespace korvalin::cli
