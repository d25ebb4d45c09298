#include "meshfile/flatten/left_out.h"

#include "meshfile/flatten/flatten.h"

#include <algorithm>

void LeftOutList::keep(const LeftOutItem& item) {
    const auto later = std::upper_bound(
        first_.begin(), first_.end(), item.position,
        [](long long position, const LeftOutItem& kept) { return position < kept.position; });
    if (later == first_.end() && first_.size() == kKeptLeftOut) return;
    first_.insert(later, item);
    if (first_.size() > kKeptLeftOut) first_.pop_back();
}

void LeftOutList::add(const LeftOutItem& item) {
    ++count_;
    ++kinds_[item.kind];
    keep(item);
}

void LeftOutList::merge(const LeftOutList& other) {
    for (const LeftOutItem& item : other.first_)
        keep(item);
    for (const auto& [kind, count] : other.kinds_)
        kinds_[kind] += count;
    count_ += other.count_;
}

std::vector<std::string> LeftOutLines(const char* path, const LeftOutList& list, std::size_t inFull) {
    std::vector<std::string> lines;
    std::map<std::string, long long, std::less<>> rest = list.kinds();
    const std::string file(path);
    for (std::size_t i = 0; i < std::min(inFull, list.first().size()); ++i) {
        const LeftOutItem& item = list.first()[i];
        lines.push_back(file + ": " + item.place + ": " + item.reason + ", left out");
        --rest[item.kind];
    }
    for (const auto& [kind, count] : rest)
        if (count > 0) lines.push_back(file + ": " + std::to_string(count) + " more " + kind + ", left out");
    return lines;
}

std::string DescribeLeftOut(const char* path, const FlattenReport& report) {
    const LeftOutList& list = report.leftOut;
    if (list.empty()) return "";
    std::string kinds;
    for (const auto& [kind, count] : list.kinds())
        kinds += (kinds.empty() ? "" : ", ") + std::to_string(count) + " " + kind;
    const bool one = list.count() == 1;
    return std::to_string(list.count()) + (one ? " entity of \"" : " entities of \"") + path +
           (one ? "\" was left out: " : "\" were left out: ") + kinds + ".";
}
