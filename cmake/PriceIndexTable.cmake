# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the core's table of the consumer price index from its data file, at build time:
#   cmake -DCSV=data/insee-ipc-1901-2025.csv -DOUTPUT=PriceIndexTable.h -P PriceIndexTable.cmake
# The file holds comment lines ('#'), the header "annee,indice", then one line a year,
# every year from the first, each index with at most four decimals. Next year is one
# more line at the end.
file(STRINGS "${CSV}" lines ENCODING UTF-8)
set(first_year "")
set(next_year "")
set(values "")
set(line_number 0)
foreach(line IN LISTS lines)
    math(EXPR line_number "${line_number} + 1")
    string(STRIP "${line}" line)
    if(line STREQUAL "" OR line MATCHES "^#" OR line STREQUAL "annee,indice")
        continue()
    endif()
    if(NOT line MATCHES "^([0-9][0-9][0-9][0-9]),([0-9]+)(\\.([0-9]+))?$")
        message(FATAL_ERROR "${CSV}:${line_number}: not a year and an index: ${line}")
    endif()
    set(year ${CMAKE_MATCH_1})
    set(whole ${CMAKE_MATCH_2})
    set(fraction "${CMAKE_MATCH_4}")
    string(LENGTH "${fraction}" places)
    if(places GREATER 4)
        message(FATAL_ERROR "${CSV}:${line_number}: more than four decimals: ${line}")
    endif()
    if(next_year STREQUAL "")
        set(first_year ${year})
    elseif(NOT year EQUAL next_year)
        message(FATAL_ERROR "${CSV}:${line_number}: ${next_year} expected, not ${year}")
    endif()
    # In ten-thousandths, as an integer: "0.0394" is 394, "120.95" is 1209500.
    string(APPEND fraction "0000")
    string(SUBSTRING "${fraction}" 0 4 fraction)
    # Its digits from the first that is not zero: REGEX REPLACE would strip the zeros
    # after each match too, "00606" giving 66.
    string(REGEX MATCH "[1-9][0-9]*" count "${whole}${fraction}")
    if(count STREQUAL "")
        message(FATAL_ERROR "${CSV}:${line_number}: an index of zero: ${line}")
    endif()
    string(APPEND values "    ${count}, // ${year}\n")
    math(EXPR next_year "${year} + 1")
endforeach()
if(first_year STREQUAL "")
    message(FATAL_ERROR "${CSV}: no year")
endif()
math(EXPR last_year "${next_year} - 1")

get_filename_component(csv_name "${CSV}" NAME)
file(WRITE "${OUTPUT}.new"
"// Generated from data/${csv_name} by cmake/PriceIndexTable.cmake: edit the data file.
#pragma once

#include <cstdint>
#include <iterator>

namespace korvalin::priceindex {

inline constexpr int kFirstYear = ${first_year};
inline constexpr int kLastYear = ${last_year};

// From kFirstYear to kLastYear, in ten-thousandths.
inline constexpr std::uint32_t kTenThousandths[] = {
${values}};

static_assert(std::size(kTenThousandths) == kLastYear - kFirstYear + 1);

} // namespace korvalin::priceindex
")
# Rewritten only when it changes, so that the core is not rebuilt for nothing.
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
