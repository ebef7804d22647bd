#pragma once

#include <algorithm>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

// One option of a program: its names, whether it takes a value, what it does
// to the program's `Target`, and its text in --help, so that the option and
// its help cannot drift apart.
template <class Target> struct OptionRow {
    char shortName = 0; // 0: none
    std::string_view longName = {};
    // As --help shows it; empty for a flag, which takes no value.
    std::string_view valueName = {};
    // The value is empty for a flag.
    void (*apply)(Target& target, std::string_view value) = nullptr;
    // Lines after the first start at the help column too.
    std::string_view help = {};
    // Not empty: the next listed option follows on this line, after this text.
    std::string_view sharesLine = {};
    // False for an option that --help names elsewhere.
    bool listed = true;
};

// What is wrong with one argument.
struct ArgumentError {
    enum class Kind { UnknownOption, MissingValue };
    Kind kind;
    std::string_view argument;
};

// What "-" and "--" are: "-" an operand (standard input) and "--" the end of
// the options, every later argument an operand; or both unknown options.
enum class Dashes { AreOperands, AreOptions };

// How the options' names are set out in --help.
struct HelpLayout {
    std::size_t column;  // where each option's help starts
    bool alignLongNames; // a long name without a short one stands where it would stand beside one
};

// A program's options, read by their rows: "-x VALUE", "-xVALUE", "--name VALUE"
// and "--name=VALUE"; a flag given a value is not understood, and a long name
// is never abbreviated. Every argument is looked at in order and none is
// moved, so a message names the argument as typed.
template <class Target> class OptionTable {
public:
    using Row = OptionRow<Target>;

    constexpr OptionTable(std::span<const Row> rows, Dashes dashes, HelpLayout layout)
        : rows_(rows), dashesAreOperands_(dashes == Dashes::AreOperands), layout_(layout) {}

    // Applies each option to `target` and hands every other argument to
    // `operand(std::string_view)`; a wrong argument goes to
    // `wrong(const ArgumentError&)`, which returns whether to read on.
    template <class Operand, class Wrong>
    void read(const std::vector<std::string_view>& args, Target& target, Operand&& operand,
              Wrong&& wrong) const {
        bool onlyOperands = false;
        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string_view arg = args[i];
            if (onlyOperands || arg.empty() || arg[0] != '-' || (dashesAreOperands_ && arg == "-")) {
                operand(arg);
                continue;
            }
            if (dashesAreOperands_ && arg == "--") {
                onlyOperands = true;
                continue;
            }
            std::string_view value;
            bool hasValue = false;
            const Row* row = find(arg, value, hasValue);
            if (row == nullptr || (hasValue && row->valueName.empty())) {
                if (!wrong(ArgumentError{ArgumentError::Kind::UnknownOption, arg}))
                    return;
                continue;
            }
            if (!row->valueName.empty() && !hasValue) {
                if (i + 1 >= args.size()) {
                    if (!wrong(ArgumentError{ArgumentError::Kind::MissingValue, arg}))
                        return;
                    continue;
                }
                value = args[++i];
            }
            row->apply(target, value);
        }
    }

    // The options' lines of --help.
    std::string help() const {
        std::string text;
        std::string line;
        for (const Row& row : rows_) {
            if (!row.listed)
                continue;
            if (line.empty())
                line = row.shortName != 0 || !layout_.alignLongNames ? "  " : "      ";
            if (row.shortName != 0)
                line += std::string{'-', row.shortName, ',', ' '};
            line += "--";
            line += row.longName;
            if (!row.valueName.empty()) {
                line += ' ';
                line += row.valueName;
            }
            if (!row.sharesLine.empty()) {
                line += row.sharesLine;
                continue;
            }
            if (!row.help.empty()) {
                line.resize(std::max(line.size() + 2, layout_.column), ' ');
                for (const char c : row.help)
                    line += c == '\n' ? "\n" + std::string(layout_.column, ' ') : std::string(1, c);
            }
            text += line;
            text += '\n';
            line.clear();
        }
        return text;
    }

private:
    // The row "-xVALUE" or "--name=VALUE" names, and the value given with it.
    const Row* find(std::string_view arg, std::string_view& value, bool& hasValue) const {
        char shortName = 0;
        std::string_view longName;
        if (arg.starts_with("--")) {
            longName = arg.substr(2);
            if (const std::size_t eq = longName.find('='); eq != std::string_view::npos) {
                value = longName.substr(eq + 1);
                hasValue = true;
                longName = longName.substr(0, eq);
            }
        } else if (arg.size() >= 2) {
            shortName = arg[1];
            if (arg.size() > 2) {
                value = arg.substr(2);
                hasValue = true;
            }
        } else {
            return nullptr; // "-" alone
        }
        for (const Row& row : rows_) {
            if (shortName != 0 ? row.shortName == shortName : row.longName == longName)
                return &row;
        }
        return nullptr;
    }

    std::span<const Row> rows_;
    bool dashesAreOperands_;
    HelpLayout layout_;
};

} // namespace tabulon
