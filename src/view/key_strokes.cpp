#include "view/key_strokes.h"

#include "view/standard_views.h"
#include "view/view_navigation.h"
#include "whole_number.h"

#include <cstdint>
#include <initializer_list>
#include <limits>

namespace {

struct KeyName {
    std::string_view name;
    unsigned char key;
};

constexpr KeyName kKeyNames[] = {
    {"pgup", kKeyPageUp}, {"pgdn", kKeyPageDown}, {"home", kKeyHome},
    {"end", kKeyEnd},     {"ins", kKeyInsert},    {"del", kKeyDelete},
    // The digit keys of the standard views, 1 to 4.
    {"top", kKeyDigit1},  {"front", kKeyDigit1 + 1}, {"right", kKeyDigit1 + 2}, {"iso", kKeyDigit1 + 3},
};

constexpr const char* kKnownSteps =
    "pgup, pgdn, home, end, ins, del, top, front, right, iso, drag, shiftdrag, pan, wheel, dblclick, size";

bool ParseStroke(std::string_view text, KeyStroke& stroke, std::string& error) {
    const std::size_t star = text.find('*');
    const std::string_view name = text.substr(0, star);
    stroke.rep = 1;
    if (star != std::string_view::npos &&
        !ParseWholeInt(text.substr(star + 1), stroke.rep, std::numeric_limits<std::int16_t>::min(),
                       std::numeric_limits<std::int16_t>::max())) {
        error = "bad repeat count in key stroke '" + std::string(text) + "' (want a number from -32768 to 32767)";
        return false;
    }
    for (const KeyName& known : kKeyNames)
        if (name == known.name) {
            stroke.key = known.key;
            return true;
        }
    error = "unknown step '" + std::string(name) + "' (known: " + kKnownSteps + ")";
    return false;
}

// The numbers after a mouse step's name, each in [low, high] and separated by
// `separator`; exactly as many as `values` holds.
bool ParseNumbers(std::string_view text, char separator, int low, int high, std::initializer_list<int*> values) {
    std::size_t left = values.size();
    for (int* value : values) {
        const std::size_t end = --left ? text.find(separator) : text.size();
        if (end == std::string_view::npos || !ParseWholeInt(text.substr(0, end), *value, low, high)) return false;
        text.remove_prefix(end == text.size() ? end : end + 1);
    }
    return true;
}

struct MouseStep {
    std::string_view name;
    StepKind kind;
    const char* form;
};

constexpr MouseStep kMouseSteps[] = {
    {"drag", StepKind::Drag, "drag:DX:DY, each from -65535 to 65535"},
    {"shiftdrag", StepKind::ShiftDrag, "shiftdrag:DX:DY, each from -65535 to 65535"},
    {"pan", StepKind::Pan, "pan:DX:DY, each from -65535 to 65535"},
    {"wheel", StepKind::Wheel, "wheel:DELTA:X:Y, each from -32768 to 32767"},
    {"size", StepKind::Size, "size:WxH, each from 0 to 32767"},
};

bool ParseMouseNumbers(std::string_view numbers, ViewStep& step) {
    switch (step.kind) {
    case StepKind::Wheel: return ParseNumbers(numbers, ':', -32768, 32767, {&step.delta, &step.x, &step.y});
    case StepKind::Size: return ParseNumbers(numbers, 'x', 0, 32767, {&step.x, &step.y});
    default: return ParseNumbers(numbers, ':', -65535, 65535, {&step.x, &step.y});
    }
}

bool ParseStep(std::string_view text, ViewStep& step, std::string& error) {
    if (text == "dblclick") {
        step.kind = StepKind::DoubleClick;
        return true;
    }
    const std::size_t colon = text.find(':');
    for (const MouseStep& known : kMouseSteps)
        if (text.substr(0, colon) == known.name) {
            step.kind = known.kind;
            if (colon != std::string_view::npos && ParseMouseNumbers(text.substr(colon + 1), step)) return true;
            error = "bad step '" + std::string(text) + "' (want " + known.form + ")";
            return false;
        }
    step.kind = StepKind::Key;
    return ParseStroke(text, step.stroke, error);
}

} // namespace

bool ParseViewSteps(std::string_view text, std::vector<ViewStep>& steps, std::string& error) {
    steps.clear();
    if (text.empty()) return true;
    for (;;) {
        const std::size_t comma = text.find(',');
        ViewStep step;
        if (!ParseStep(text.substr(0, comma), step, error)) {
            steps.clear();
            return false;
        }
        steps.push_back(step);
        if (comma == std::string_view::npos) return true;
        text.remove_prefix(comma + 1);
    }
}

void DoViewStep(const ViewStep& step, Rect& client) {
    switch (step.kind) {
    case StepKind::Key: // as the viewer's key handling: a turn, else a view
        if (!RotateMesh(step.stroke.key, step.stroke.rep)) ShowStandardViewForKey(step.stroke.key);
        break;
    case StepKind::Drag: TurnByDrag(step.x, step.y, false, client); break;
    case StepKind::ShiftDrag: TurnByDrag(step.x, step.y, true, client); break;
    case StepKind::Pan: PanBy(step.x, step.y); break;
    case StepKind::Wheel: ZoomAt(step.delta, step.x, step.y, client); break;
    case StepKind::DoubleClick: ResetNavigation(); break;
    case StepKind::Size: client = Rect{0, 0, step.x, step.y}; break;
    }
}
