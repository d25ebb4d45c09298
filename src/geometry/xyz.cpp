#include "geometry/xyz.h"

void set(xyz* P, const double* X, int n) {
    for (int j = 0; j < n; ++j) P[j] = xyz(X[3 * j], X[3 * j + 1], X[3 * j + 2]);
}
