# SPDX-License-Identifier: GPL-3.0-or-later
# Warnings are on for the project's own code; third-party headers come in as system
# headers and are left alone. The presets make them fatal with
# CMAKE_COMPILE_WARNING_AS_ERROR; a packager's build does not, since a newer compiler
# may warn where ours did not.
function(korvalin_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
        -Wnon-virtual-dtor -Wold-style-cast)
endfunction()
