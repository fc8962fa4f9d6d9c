// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Quote.h"
#include "Refusal.h"

#include <string>
#include <string_view>

namespace korvalin {

// Who reads the sentence: the window's user converts with a key, a terminal's with an
// option.
enum class Audience { window, terminal };

// What the user reads when an amount cannot be converted: one or two short French
// sentences, plain text, in UTF-8, quoting the amount with `quote`.
std::string failureText(const Refusal& refusal, std::string_view amount, Quote quote,
                        Audience audience);

} // namespace korvalin
