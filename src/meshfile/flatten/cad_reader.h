// Reading a DXF file, text or binary, into the spaces of a CadDrawing.
//
// Entities of the ENTITIES section (and of a file with no sections at all)
// belong to model space unless their group 67 is 1 (paper space); those
// between BLOCK and ENDBLK in the BLOCKS section belong to that block. Every
// other section (HEADER, TABLES, OBJECTS...) is passed over. 3DFACE, INSERT,
// POLYLINE and MESH entities are read; every other entity kind is only
// counted, by kind, in its space's `unconverted`.
//
// Refused, with the place and the reason in `error`: a group that cannot be
// read (a code line that is not a number, a file cut inside a group) and a
// file that ends before its EOF marker. What cannot be drawn is left out,
// with its place and the reason in the leftOut of its space (or, for a block
// definition, of the drawing), and the reading goes on; when `strict`, it is
// refused instead: a number that a used group code needs and does not hold
// (or NaN, infinity), an INSERT without a block name, with a zero scale or
// extrusion or with fewer than one column or row, a polyface face naming a
// vertex that is not there, a polygon mesh whose vertex count is not M × N
// (73 × 74 fitted vertices for a smoothed one), a MESH whose counts do not
// match its lists, a block without a name or defined twice (the first
// definition stands). A failed read leaves `drawing` in an unspecified state.
#pragma once

#include "meshfile/flatten/cad_drawing.h"

#include <cstddef>
#include <string>
#include <string_view>

class FileSource;

// Reads the whole file `bytes`.
bool ReadCadDrawing(std::string_view bytes, bool strict, CadDrawing& drawing, std::string& error);
// Reads the open file `source` to its end, in place where it is large
// enough to be worth mapping and can be mapped (byte_source.h), else through
// a window; `size`, the file's size as far as it is known, only sizes model
// space's table ahead.
bool ReadCadDrawing(FileSource& source, std::size_t size, bool strict, CadDrawing& drawing,
                    std::string& error);
