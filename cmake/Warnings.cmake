# Warnings are errors in the project's own code; third-party headers come in as
# system headers and are left alone.
function(korvalin_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
        -Wnon-virtual-dtor -Wold-style-cast -Werror)
endfunction()
