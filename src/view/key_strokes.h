// Key strokes written as text, for the tool and the scripts that drive the
// viewer: "pgdn,home*2,del".
//
// Strokes are separated by commas. Each is one of the names pgup, pgdn, home,
// end, ins, del (Page Up, Page Down, Home, End, Insert, Delete), optionally
// followed by "*N": N is the stroke's repeat count, a decimal from -32768 to
// 32767 (the range of the key message's 16-bit signed count), 1 when absent.
// One stroke turns by N × 10 degrees. An empty text is no stroke at all.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct KeyStroke {
    unsigned char key; // virtual-key code, one of the kKey* codes of view/view.h
    int rep;           // repeat count
    friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

// Parses `text` into `strokes`. On a bad name or count returns false, leaves
// `strokes` empty and puts the reason, naming the offending stroke, in `error`.
bool ParseKeyStrokes(std::string_view text, std::vector<KeyStroke>& strokes, std::string& error);
