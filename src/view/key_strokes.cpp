#include "view/key_strokes.h"

#include "view/view.h"
#include "whole_number.h"

#include <cstdint>
#include <limits>

namespace {

struct KeyName {
    std::string_view name;
    unsigned char key;
};

constexpr KeyName kKeyNames[] = {
    {"pgup", kKeyPageUp}, {"pgdn", kKeyPageDown}, {"home", kKeyHome},
    {"end", kKeyEnd},     {"ins", kKeyInsert},    {"del", kKeyDelete},
};

bool ParseRepeat(std::string_view digits, int& rep) {
    return ParseWholeInt(digits, rep, std::numeric_limits<std::int16_t>::min(),
                         std::numeric_limits<std::int16_t>::max());
}

bool ParseStroke(std::string_view text, KeyStroke& stroke, std::string& error) {
    const std::size_t star = text.find('*');
    const std::string_view name = text.substr(0, star);
    stroke.rep = 1;
    if (star != std::string_view::npos && !ParseRepeat(text.substr(star + 1), stroke.rep)) {
        error = "bad repeat count in key stroke '" + std::string(text) + "' (want a number from -32768 to 32767)";
        return false;
    }
    for (const KeyName& known : kKeyNames)
        if (name == known.name) {
            stroke.key = known.key;
            return true;
        }
    error = "unknown key '" + std::string(name) + "' (known: pgup, pgdn, home, end, ins, del)";
    return false;
}

} // namespace

bool ParseKeyStrokes(std::string_view text, std::vector<KeyStroke>& strokes, std::string& error) {
    strokes.clear();
    if (text.empty()) return true;
    for (;;) {
        const std::size_t comma = text.find(',');
        KeyStroke stroke{};
        if (!ParseStroke(text.substr(0, comma), stroke, error)) {
            strokes.clear();
            return false;
        }
        strokes.push_back(stroke);
        if (comma == std::string_view::npos) return true;
        text.remove_prefix(comma + 1);
    }
}
