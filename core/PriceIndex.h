// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

namespace korvalin {

// The consumer price index, one value a year from firstIndexYear() to lastIndexYear(),
// in ten-thousandths: compiled in from data/, generated at build time.
std::span<const std::uint32_t> priceIndex();

} // namespace korvalin
