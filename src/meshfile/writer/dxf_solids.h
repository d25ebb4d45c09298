// The argument rules of DXF::block, sphere, cone and cylinder.
//
// Every coordinate and radius must be finite. A box needs corners that differ
// in x, y and z; a sphere a radius above 0 and at least 3 segments; a cone
// radii of 0 or more, not both 0, two different end points, at least 3
// segments around and 1 along; a cylinder a radius above 0 and the same.
// The number of faces must fit an int, the viewer's face count: a sphere
// takes 3 to kMaxSphereSegments segments.
//
// Each function returns null when the arguments describe a surface and else
// the reason in a few words ("radius must be above 0"), for messages.
#pragma once

#include "geometry/xyz.h"

// The most segments whose sphere's N·((N+1)/2) faces fit an int.
constexpr int kMaxSphereSegments = 65535;

const char* BlockArgumentsProblem(double x1, double y1, double z1, double x2, double y2, double z2);
const char* SphereArgumentsProblem(xyz c, double r, int n);
const char* ConeArgumentsProblem(xyz a, xyz b, double ra, double rb, int around, int along);
const char* CylinderArgumentsProblem(xyz a, xyz b, double r, int around, int along);
