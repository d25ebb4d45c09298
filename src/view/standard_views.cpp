#include "view/standard_views.h"

#include "view/orientation.h"
#include "view/view_navigation.h"

#include <cmath>

namespace {

// The rows are the screen's right, its up and the direction towards the
// viewer, in the model's coordinates as read.
Orientation ViewOrientation(StandardView view) {
    switch (view) {
    case StandardView::Top:
        return Orientation::Identity();
    case StandardView::Front:
        return {{{1, 0, 0}, {0, 0, 1}, {0, -1, 0}}};
    case StandardView::Right:
        return {{{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}};
    case StandardView::Iso: {
        // Towards the viewer (1, -1, 1); up is +z less its part along that
        // direction, (-1, 1, 2); right is up × towards, (1, 1, 0).
        const double r2 = 1 / std::sqrt(2.0), r3 = 1 / std::sqrt(3.0), r6 = 1 / std::sqrt(6.0);
        return {{{r2, r2, 0}, {-r6, r6, 2 * r6}, {r3, -r3, r3}}};
    }
    }
    return Orientation::Identity();
}

} // namespace

void ShowStandardView(StandardView view) {
    const Orientation wanted = ViewOrientation(view);
    // The orientation is a product of turns, so its transpose undoes it.
    TurnMeshBy(wanted * TableOrientation.transposed());
    // Set, not multiplied: the view's own matrix, free of the rounding of
    // the turns before it, is where later turns start.
    TableOrientation = wanted;
    ResetNavigation();
}

bool ShowStandardViewForKey(unsigned char key) {
    for (const unsigned char first : {kKeyDigit1, kKeyNumpad1})
        if (key >= first && key < first + 4) {
            ShowStandardView(static_cast<StandardView>(key - first));
            return true;
        }
    return false;
}
