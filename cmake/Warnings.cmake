# SPDX-License-Identifier: GPL-3.0-or-later
# Warnings are on for the project's own code; third-party headers come in as system
# headers and are left alone. KORVALIN_WERROR makes them fatal (dev.sh and CI turn
# it on; a packager's newer compiler may warn where ours did not).
function(korvalin_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
        -Wnon-virtual-dtor -Wold-style-cast)
    if(KORVALIN_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
