// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConversionError.h"

namespace korvalin {
namespace {

std::string describe(ConversionError::Kind kind, const std::string& amountText) {
    const char* what =
        kind == ConversionError::Kind::notANumber ? "not an amount: \"" : "amount out of range: \"";
    return what + amountText + "\"";
}

} // namespace

ConversionError::ConversionError(Kind kind, std::string amountText)
    : std::runtime_error(describe(kind, amountText)), kind_(kind),
      amountText_(std::move(amountText)) {}

} // namespace korvalin
