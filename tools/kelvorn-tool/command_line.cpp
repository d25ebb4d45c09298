#include "command_line.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t kColumns = 80;

bool IsOption(std::string_view argument) {
    return argument.size() > 1 && argument[0] == '-';
}

bool Names(const Option& option, std::string_view name) {
    return name == option.name || (option.alias && name == option.alias);
}

std::size_t CountWords(std::string_view text) {
    std::size_t words = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        words += text[i] != ' ' && (i == 0 || text[i - 1] == ' ');
    return words;
}

std::string SeeHelp(const Command& command) {
    return std::string(" (see kelvorn-tool ") + command.name + " --help)";
}

// "NAME VALUE" or "NAME", as the helps show an option.
std::string Spelled(const Option& option) {
    return option.value ? std::string(option.name) + " " + option.value : option.name;
}

// Reads argv[i] as an option into `values` and advances i past what it used.
// On failure returns the message.
std::string ReadOption(const Command& command, int argc, char** argv, int& i,
                       std::vector<const char*>& values) {
    std::string_view name = argv[i];
    const char* inline_value = nullptr;
    if (const auto equals = name.find('='); name.starts_with("--") && equals != std::string_view::npos) {
        inline_value = argv[i] + equals + 1;
        name = name.substr(0, equals);
    }
    ++i;
    const auto known = std::find_if(command.options.begin(), command.options.end(),
                                    [name](const Option& option) { return Names(option, name); });
    const std::string quoted = "'" + std::string(name) + "'";
    if (known == command.options.end()) return "unknown option " + quoted + SeeHelp(command);
    const char*& value = values[known - command.options.begin()];
    if (!known->value) {
        if (inline_value) return std::string(name) + " takes no value";
        value = "";
    } else if (inline_value) {
        value = inline_value;
    } else if (i < argc) {
        value = argv[i++];
    } else {
        return std::string(name) + " needs a value";
    }
    return "";
}

// Reports a wrong number of operands or a missing required option as a
// usage error; true when there is none.
bool HasWhatItNeeds(const Command& command, const std::vector<const char*>& operands,
                    const std::vector<const char*>& values) {
    const std::size_t wanted = CountWords(command.operands);
    if (operands.size() < wanted && command.missing_operand) {
        UsageError(command, command.missing_operand + SeeHelp(command));
        return false;
    }
    if (operands.size() > wanted) {
        UsageError(command, "unexpected argument '" + std::string(operands[wanted]) + "'" + SeeHelp(command));
        return false;
    }
    if (operands.size() < wanted) {
        PrintUsage(command, stderr);
        return false;
    }
    for (std::size_t o = 0; o < command.options.size(); ++o)
        if (command.options[o].required && !values[o]) {
            UsageError(command, "missing " + Spelled(command.options[o]) + SeeHelp(command));
            return false;
        }
    return true;
}

// "NAME, ALIAS VALUE", as the option list of --help shows an option.
std::string Listed(const Option& option) {
    return option.alias ? std::string(option.name) + ", " + Spelled({option.alias, option.value, ""})
                        : Spelled(option);
}

int PrintHelp(const Command& command) {
    PrintUsage(command, stdout);
    std::size_t width = 0;
    for (const Option& option : command.options)
        width = std::max(width, Listed(option).size());
    if (!command.options.empty()) std::printf("\n");
    for (const Option& option : command.options) {
        std::printf("  %-*s  ", static_cast<int>(width), Listed(option).c_str());
        for (const char* c = option.help; *c; ++c)
            *c == '\n' ? std::printf("\n  %*s  ", static_cast<int>(width), "") : std::putchar(*c);
        std::printf("\n");
    }
    std::printf("\n%s", command.details);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

bool IsHelp(std::string_view argument) {
    return argument == "--help" || argument == "-h";
}

const char* Arguments::value(std::string_view name) const {
    for (std::size_t o = 0; o < command_->options.size(); ++o)
        if (Names(command_->options[o], name)) return values_[o];
    std::fprintf(stderr, "kelvorn-tool %s: no option %.*s in its table\n", command_->name,
                 static_cast<int>(name.size()), name.data());
    std::abort();
}

int RunCommand(const Command& command, int argc, char** argv) {
    if (std::any_of(argv, argv + argc, [](const char* argument) { return IsHelp(argument); }))
        return PrintHelp(command);
    std::vector<const char*> operands, values(command.options.size(), nullptr);
    for (int i = 0; i < argc;) {
        if (!IsOption(argv[i])) {
            operands.push_back(argv[i++]);
            continue;
        }
        if (const std::string error = ReadOption(command, argc, argv, i, values); !error.empty())
            return UsageError(command, error);
    }
    if (!HasWhatItNeeds(command, operands, values)) return 2;
    return command.run(Arguments(command, std::move(operands), std::move(values)));
}

void PrintUsage(const Command& command, std::FILE* out) {
    std::string line = std::string("usage: kelvorn-tool ") + command.name + " " + command.operands;
    std::string optional;
    for (const Option& option : command.options) {
        if (option.required)
            line += " " + Spelled(option);
        else
            optional += " [" + Spelled(option) + "]";
    }
    if (line.size() + optional.size() > kColumns) optional = " [OPTIONS]";
    std::fprintf(out, "%s%s\n", line.c_str(), optional.c_str());
}

void PrintCommandList(std::span<const Command* const> commands, std::FILE* out) {
    std::size_t width = 0;
    for (const Command* command : commands)
        width = std::max(width, std::strlen(command->name) + 1 + std::strlen(command->operands));
    for (const Command* command : commands) {
        const std::string usage = std::string(command->name) + " " + command->operands;
        std::fprintf(out, "  %-*s  %s\n", static_cast<int>(width), usage.c_str(), command->summary);
    }
}

int UsageError(const Command& command, std::string_view message) {
    std::fprintf(stderr, "kelvorn-tool %s: %.*s\n", command.name, static_cast<int>(message.size()),
                 message.data());
    return 2;
}
