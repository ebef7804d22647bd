#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/template_set.h"
#include "posix/result.h"

namespace tabulon::cli {

struct Options {
    std::optional<std::string> config;
    std::optional<std::string> width;
    std::optional<std::string> top;
    std::optional<std::string> bottom;
    std::optional<std::string> entry;
    std::optional<std::string> endEntry;
    std::optional<std::string> newRow;
    std::optional<int> comments;
    std::optional<std::string> newFolder;
    std::vector<std::string> files;
    std::vector<std::string> filesFrom;
    bool nullSeparated = false;
    bool recursive = false;
    bool hidden = false;
    std::optional<std::string> include; // patterns, those of every --include joined by ';'
    std::optional<std::string> exclude;
    bool images = false;
    std::optional<std::string> sort;
    std::optional<std::string> thumbDir;
    std::optional<std::string> thumbFormat;
    std::optional<std::string> jobs;
    bool pruneThumbs = false;
    bool unsafeDecoding = false;
    bool reverse = false;
    std::optional<std::string> preset;
    bool listPresets = false;
    std::optional<std::string> output;
    bool page = false;
    std::optional<std::string> title;
    std::optional<std::string> lang;
    std::optional<std::string> relativeTo;
    bool help = false;
    bool version = false;

    // The options' templates over `set`.
    void applyTo(TemplateSet& set) const;
};

// The options, or what is wrong with the arguments.
using ParsedOptions = Result<Options, std::string>;

ParsedOptions parseOptions(const std::vector<std::string_view>& args);

// What --help prints: the options' lines come from their rows.
const std::string& usage();

} // namespace tabulon::cli
