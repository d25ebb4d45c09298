// The command line of kelvorn-tool's commands, read one way for all of them.
//
// Each command is one `Command` table: its name, its operands, its options,
// its help texts and the function that runs it. That one table feeds the
// parse, the command's own --help, its line in "kelvorn-tool --help", and so
// the check of the manual page (tests/install/man_pages.sh reads both helps).
//
// How arguments are read: "--help" or "-h" anywhere asks for the command's
// help, which wins over everything else. An argument that starts with '-' and
// is longer than "-" is an option; every other one is an operand, in order.
// An option that takes a value takes it as "--name=VALUE" (long names only)
// or from the next argument, whatever that holds ("--radius -1"); a flag
// takes none. Given twice, the last value counts. Unknown options, a missing
// value, a value given to a flag, a missing required option and the wrong
// number of operands are usage errors: one message on stderr (of operands
// too many, the first is named), exit status 2.
//
// To add an option: one line in the command's option table,
//     {"--name", "VALUE", "what it does, for --help"}
// (VALUE nullptr for a flag; `true` after the help makes it required), then
// read it in the command with arguments.value("--name") or has("--name").
// To add a command: write its `Command` table and run function in its own
// file, declare the table in commands.h and list it in kCommands (main.cpp).
// Every option the helps name must be described in man/kelvorn-tool.1.in.
#pragma once

#include <cstdio>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

struct Option {
    const char* name;            // "--size", or a short one: "-o"
    const char* value;           // the value's name in the helps ("WxH"); nullptr: a flag
    const char* help;            // what it does; lines after a '\n' are indented under the first
    bool required = false;       // a usage error when absent
    const char* alias = nullptr; // another name for the same option ("--output" for "-o")
};

class Arguments;

struct Command {
    const char* name;                       // "render"
    const char* operands;                   // the operands' names, one word each: "W H FILE"
    std::span<const Option> options;        // in the order --help lists them
    const char* summary;                    // its line in "kelvorn-tool --help"
    const char* details;                    // --help's text after the usage and the options
    int (*run)(const Arguments& arguments); // the exit status: 0, 1 (a file), 2 (usage)
    const char* missing_operand = nullptr;  // said when operands are missing; else the usage
};

// A command's arguments once read: operands in order, options by name.
class Arguments {
  public:
    Arguments(const Command& command, std::vector<const char*> operands, std::vector<const char*> values)
        : operands(std::move(operands)), command_(&command), values_(std::move(values)) {}

    std::vector<const char*> operands;

    // The value given to the option called `name` (by either of its names),
    // nullptr when absent; "" for a given flag. `name` must be in the table.
    const char* value(std::string_view name) const;
    bool has(std::string_view name) const { return value(name) != nullptr; }

  private:
    const Command* command_;
    std::vector<const char*> values_; // one per option of the table
};

// True for "--help" and "-h", the arguments that ask for help.
bool IsHelp(std::string_view argument);

// Reads the arguments after the command's name, then prints its help or a
// usage error or runs it. Returns the exit status.
int RunCommand(const Command& command, int argc, char** argv);

// "usage: kelvorn-tool NAME OPERANDS OPTIONS" and a line end: the required
// options, then the others as "[--name VALUE]", or "[OPTIONS]" where they
// would not fit in 80 columns.
void PrintUsage(const Command& command, std::FILE* out);

// One line "  NAME OPERANDS  SUMMARY" of each command, the summaries aligned.
void PrintCommandList(std::span<const Command* const> commands, std::FILE* out);

// Prints the usage error "kelvorn-tool NAME: MESSAGE" on stderr and returns
// its exit status, 2.
int UsageError(const Command& command, std::string_view message);
