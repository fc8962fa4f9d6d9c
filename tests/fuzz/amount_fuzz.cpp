// Fuzzes the amount reader through both conversion keys: whatever the text, a
// conversion either writes a result that reads back to itself or fails the way the
// grammar says it must.
#include "Amount.h"
#include "Korvalin.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>

namespace {

using namespace korvalin;

// The grammar documented in Amount.h, written independently of the reader.
bool isAmount(const std::string& text) {
    static const std::regex grammar(R"( *[+-]?([0-9]+(,[0-9]*)?|,[0-9]+)([eE][+-]?[0-9]+)? *)");
    return std::regex_match(text, grammar);
}

[[noreturn]] void fail(const char* what, const std::string& text) {
    std::fprintf(stderr, "%s: \"%s\"\n", what, text.c_str());
    std::abort();
}

void check(const std::string& typed, KeyId key) {
    std::string amount = typed;
    std::replace(amount.begin(), amount.end(), '.', ',');

    Korvalin korvalin;
    korvalin.editEcran(typed);
    try {
        korvalin.press(key);
    } catch (const ConversionError& error) {
        if (error.kind() == ConversionError::Kind::notANumber && isAmount(amount)) {
            fail("an amount did not read", amount);
        }
        if (error.kind() == ConversionError::Kind::overflow && !isAmount(amount)) {
            fail("a text that is no amount overflowed", amount);
        }
        return;
    }
    if (typed.empty()) {
        if (!(korvalin.display() == Display{})) {
            fail("an empty display converted", typed);
        }
        return;
    }
    if (!isAmount(amount)) {
        fail("a text that is no amount converted", amount);
    }
    const std::string& result = korvalin.display().ecran;
    if (result.find_first_of(".naif") != std::string::npos) {
        fail("a result is not in the French form", result);
    }
    const ReadResult back = readAmount(result);
    if (back.status != ReadStatus::ok || writeAmount(back.value) != result) {
        fail("a result does not read back to itself", result);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    check(text, KeyId::euros);
    check(text, KeyId::francs);
    return 0;
}
