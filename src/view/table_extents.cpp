#include "view/table_extents.h"

namespace {

struct Remembered {
    const Face* table = nullptr;
    int count = 0;
    TableExtents extents;
};

Remembered remembered;

// A bound that a comparison of values checks exactly.
bool Checkable(double bound) { return bound == bound && bound != 0; }

} // namespace

TableExtents MeasureTableExtents() {
    TableExtents extents;
    const int faces = F != nullptr ? nf : 0;
    for (int i = 0; i < faces; ++i) extents.add(F[i]);
    return extents;
}

void RememberTableExtents(const TableExtents& extents) {
    const bool checkable = Checkable(extents.x.low) && Checkable(extents.x.high) &&
                           Checkable(extents.y.low) && Checkable(extents.y.high);
    if (checkable && F != nullptr && nf > 0)
        remembered = {F, nf, extents};
    else
        ForgetTableExtents();
}

void ForgetTableExtents() { remembered = {}; }

bool RememberedTableExtents(TableExtents& extents) {
    if (remembered.table == nullptr || remembered.table != F || remembered.count != nf) return false;
    extents = remembered.extents;
    return true;
}
