// What the converter leaves out of a drawing it otherwise draws: an entity,
// a block or a block reference that cannot be drawn (a zero scale, a block
// defined twice, a face naming a vertex that is not there...), each with its
// place in the file, the reason and a short name of its kind.
//
// A hostile file can hold millions of such entities: a list keeps the first
// kKeptLeftOut of them in file order and counts every one by kind, so that
// its size stays small whatever the file holds.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

struct LeftOutItem {
    long long position = 0; // line of a text file, byte of a binary one: orders the items
    std::string place;      // "line N" or "byte N"
    std::string reason;     // as a refusal would say it, without the place
    std::string kind;       // what was left out, to count by: "INSERT with scale 0"
};

constexpr std::size_t kKeptLeftOut = 16;

class LeftOutList {
  public:
    void add(const LeftOutItem& item);
    // Takes in every item of `other`, keeping file order.
    void merge(const LeftOutList& other);

    // The first items in file order, at most kKeptLeftOut.
    const std::vector<LeftOutItem>& first() const { return first_; }
    // Every item counted by kind, those past first() too.
    const std::map<std::string, long long, std::less<>>& kinds() const { return kinds_; }
    long long count() const { return count_; }
    bool empty() const { return count_ == 0; }

  private:
    // Puts `item` among the first items, in file order, if it is one of them.
    void keep(const LeftOutItem& item);

    std::vector<LeftOutItem> first_;
    std::map<std::string, long long, std::less<>> kinds_;
    long long count_ = 0;
};

// The lines a command prints about what was left out of `path`: the first
// `inFull` items as "PATH: PLACE: REASON, left out", then, for the others,
// one line a kind: "PATH: N more KIND, left out". Empty when nothing was.
std::vector<std::string> LeftOutLines(const char* path, const LeftOutList& list, std::size_t inFull);
