// The commands of kelvorn-tool, one table each (see command_line.h for what
// a table holds and how to add a command). Their exit status: 0 done, 1 a
// file could not be read or written, 2 a usage error.
#pragma once

#include "command_line.h"

extern const Command kFacesCommand;
extern const Command kInfoCommand;
extern const Command kGenCommand;
extern const Command kRenderCommand;
extern const Command kSegmentsCommand;
extern const Command kFlattenCommand;
