// SPDX-License-Identifier: GPL-3.0-or-later
// korvalin: the converter for terminals and scripts, on the core alone.
#include "Conversions.h"
#include "Options.h"
#include "StandardStreams.h"

#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

int run(int argc, char* argv[]) {
    using namespace korvalin::cli;
    setUpStandardStreams();
    const Options options = parseOptions(argc, argv);
    switch (options.action) {
    case Options::Action::help:
        std::fputs(helpText().c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    case Options::Action::version:
        std::fputs(versionText().c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    case Options::Action::usageError:
        std::fprintf(stderr, "korvalin: %s\n%s", options.error.c_str(), kUsageHint);
        return 2;
    case Options::Action::convert:
        break;
    }
    return options.amounts.empty() ? convertStandardInput(options) : convertArguments(options);
}

} // namespace

#ifdef _WIN32
// The arguments as Windows gives them, in UTF-16, turned into UTF-8 like the rest of the
// program's text: the ANSI code page would lose "€" or any character outside it.
int wmain(int argc, wchar_t* wideArgv[]) {
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) {
        const int size =
            WideCharToMultiByte(CP_UTF8, 0, wideArgv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string argument(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
        WideCharToMultiByte(CP_UTF8, 0, wideArgv[i], -1, argument.data(), size, nullptr, nullptr);
        argument.resize(argument.size() - 1);
        arguments.push_back(std::move(argument));
    }
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    return run(argc, argv.data());
}
#else
int main(int argc, char* argv[]) {
    return run(argc, argv);
}
#endif
