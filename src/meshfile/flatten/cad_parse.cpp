#include "meshfile/flatten/cad_parse.h"

namespace {

std::string Shown(std::string_view text) {
    constexpr std::size_t kShown = 40;
    return text.size() > kShown ? std::string(text.substr(0, kShown)) + "..." : std::string(text);
}

constexpr const char* kBadNumber = "entity with a bad number";

std::string GroupName(const DxfGroup& group, std::string_view kind) {
    return "group code " + std::to_string(group.code) + " of " + std::string(kind);
}

} // namespace

bool CadParse::fail(const DxfGroup& group, const std::string& what, const char* kind) {
    if (!error.empty()) return false;
    failure = {group.position, GroupPlace(group), what, kind};
    error = failure.place + ": " + what;
    return false;
}

bool CadParse::readerOk() {
    if (groups.error().empty()) return true;
    if (error.empty()) error = groups.error();
    return false;
}

bool CadParse::real(const DxfGroup& group, std::string_view kind, double& value) {
    return ReadReal(group, value) || badNumber(group, kind, "a finite number");
}

bool CadParse::integer(const DxfGroup& group, std::string_view kind, long long& value) {
    return ReadInteger(group, value) || badNumber(group, kind, "a 32-bit integer");
}

bool CadParse::badNumber(const DxfGroup& group, std::string_view kind, const char* expected) {
    // A binary file's number is no text to show; it is just not of the kind.
    const std::string value = group.numeric ? "not " : "'" + Shown(group.text) + "' is not ";
    return fail(group, GroupName(group, kind) + ": " + value + expected, kBadNumber);
}

bool CadParse::coordinate(const DxfGroup& group, std::string_view kind, xyz& point) {
    double value;
    if (!real(group, kind, value)) return false;
    const int axis = group.code / 10 - 1;
    (axis == 0 ? point.x : axis == 1 ? point.y : point.z) = value;
    return true;
}
