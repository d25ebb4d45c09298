// Writing a command's output file so that a failure never costs a byte on
// disk: the whole file goes under a scratch name beside the output, and is
// renamed over it only once it is complete. A failure removes the scratch
// file, leaves the output as it was and prints one line on stderr in the
// tool's own words: "kelvorn-tool: cannot write OUTPUT: REASON", the reason
// the system's.
#pragma once

#include <string>
#include <string_view>

// A name beside `output` that no file has yet, in the same directory.
std::string ScratchPathBeside(const std::string& output);

// Removes `scratch`, prints "kelvorn-tool: MESSAGE" on stderr and returns 1.
int ReportOutputFailure(const std::string& scratch, const std::string& message);

// "cannot write OUTPUT: REASON".
std::string CannotWrite(const std::string& output, const std::string& reason);

// Renames the complete `scratch` over `output`: 0, or 1 reported.
int PutScratchInPlace(const std::string& scratch, const std::string& output);

// Writes `bytes` as the file `output` by way of a scratch file: 0, or 1
// reported. `text`: line ends as the system writes them (CR LF on Windows).
int WriteFileReplacing(const std::string& output, std::string_view bytes, bool text = false);
