// Puts a test's own faces in place of the face table for one scope.
#pragma once

#include "kelvorn.h"

#include <utility>
#include <vector>

class FaceTableScope {
public:
    // F and nf become `faces` (nf = its size; F null when empty), and
    // HiddenEdges `hiddenEdges` (null when empty); the table and hidden edges
    // that were there come back when the scope ends.
    explicit FaceTableScope(std::vector<Face> faces, std::vector<unsigned char> hiddenEdges = {})
        : faces_(std::move(faces)), hiddenEdges_(std::move(hiddenEdges)), savedF_(F), savedNf_(nf),
          savedHiddenEdges_(HiddenEdges) {
        F = faces_.empty() ? nullptr : faces_.data();
        nf = static_cast<int>(faces_.size());
        HiddenEdges = hiddenEdges_.empty() ? nullptr : hiddenEdges_.data();
    }
    ~FaceTableScope() {
        F = savedF_;
        nf = savedNf_;
        HiddenEdges = savedHiddenEdges_;
    }
    FaceTableScope(const FaceTableScope&) = delete;
    FaceTableScope& operator=(const FaceTableScope&) = delete;

    std::vector<Face>& faces() { return faces_; }

private:
    std::vector<Face> faces_;
    std::vector<unsigned char> hiddenEdges_;
    Face* savedF_;
    int savedNf_;
    unsigned char* savedHiddenEdges_;
};

// A face with its four corners in the x–y plane (z = 0).
inline Face FlatFace(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy) {
    return {{ax, ay, 0}, {bx, by, 0}, {cx, cy, 0}, {dx, dy, 0}};
}
