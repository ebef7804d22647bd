#include "cli/run.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>
#include <string>

#include "cli/cli_options.h"
#include "cli/fd_sink.h"
#include "cli/file_list.h"
#include "cli/name_reader.h"
#include "cli/presets.h"
#include "listgen/entry_processor.h"
#include "listgen/width.h"
#include "persist/config_file.h"
#include "tabulon/version.h"

namespace tabulon::cli {

namespace {

void Complain(const std::string& message) {
    std::fprintf(stderr, "tabulon-cli: %s\n", message.c_str());
}

int WriteFailed(const WriteFailure& failure) {
    Complain(std::string("cannot write ") + failure.what());
    return kExitFileError;
}

// Help and the like go out as a list does: output that is lost is a failure.
int Print(std::string_view text) {
    try {
        StdoutSink out;
        out.append(text);
        out.flush();
    } catch (const WriteFailure& failure) {
        return WriteFailed(failure);
    }
    return kExitOk;
}

} // namespace

int Run(const std::vector<std::string_view>& args) {
    const ParsedOptions parsed = ParseOptions(args);
    if (!parsed.error.empty()) {
        Complain(parsed.error);
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    const Options& options = parsed.options;
    if (options.help)
        return Print(kUsage);
    if (options.version)
        return Print(std::string("tabulon-cli ") + kVersionText + "\n");
    if (options.listPresets) {
        std::string names;
        for (const std::string& name : PresetNames(PresetsFolder()))
            names += name + "\n";
        return Print(names);
    }
    ListingRules rules{options.recursive, options.hidden, SortKey::None, options.reverse};
    if (options.sort && !ParseSortKey(*options.sort, rules.sort)) {
        Complain("--sort takes none, name, natural, date or size");
        return kExitUsage;
    }

    TemplateSet set = InitialTemplateSet();
    if (options.preset) {
        const std::vector<std::string> names = PresetNames(PresetsFolder());
        if (std::find(names.begin(), names.end(), *options.preset) == names.end()) {
            Complain("no preset named '" + *options.preset + "' (tabulon-cli --list-presets names them)");
            return kExitUsage;
        }
        if (auto error = LoadConfiguration(PresetsFolder() + "/" + *options.preset + ".ini", set)) {
            Complain("cannot read preset " + error->message());
            return kExitFileError;
        }
    }
    if (options.config) {
        if (auto error = LoadConfiguration(*options.config, set)) {
            Complain("cannot read configuration " + error->message());
            return kExitFileError;
        }
    }
    options.ApplyTo(set);

    const WidthCheck width = CheckWidth(set.width);
    if (!width.ok()) {
        Complain(std::string(width.message));
        return kExitUsage;
    }

    // Open every list before writing, so a missing one leaves no output.
    std::vector<NameList> lists;
    lists.reserve(options.filesFrom.size());
    for (const std::string& path : options.filesFrom) {
        lists.emplace_back(path);
        if (auto error = lists.back().openError()) {
            Complain("cannot read " + error->message());
            return kExitFileError;
        }
    }

    std::unique_ptr<AtomicFileWriter> file;
    std::unique_ptr<Sink> sink;
    if (options.output) {
        file = std::make_unique<AtomicFileWriter>(*options.output);
        if (auto error = file->open()) {
            Complain("cannot write " + error->message());
            return kExitFileError;
        }
        sink = std::make_unique<AtomicFileSink>(*file);
    } else {
        sink = std::make_unique<StdoutSink>();
    }

    try {
        EntryProcessor processor(set, width.value, *sink);
        processor.ProcessFile({}, {}, true);
        FileList files(rules, [&](std::string_view name) { processor.ProcessFile(name); });
        std::string folderError;
        for (const std::string& name : options.files) {
            if (folderError.empty())
                files.Add(name, folderError);
        }
        // Names from a list are files as given: no look at the disk for each
        // of a million names.
        for (NameList& list : lists) {
            if (auto error = list.ForEach(options.nullSeparated, [&](std::string_view name) {
                    if (files.streams()) // straight on: no call through the list per name
                        processor.ProcessFile(name);
                    else
                        files.AddFile(name);
                })) {
                Complain("cannot read " + error->message());
                return kExitFileError;
            }
        }
        if (!folderError.empty()) {
            Complain("cannot read folder " + folderError);
            return kExitFileError;
        }
        files.Finish();
        processor.Finish();
    } catch (const WriteFailure& failure) {
        return WriteFailed(failure);
    } catch (const std::bad_alloc&) {
        Complain("not enough memory for an included file");
        return kExitFileError;
    }

    if (file) {
        if (auto error = file->commit()) {
            Complain("cannot write " + error->message());
            return kExitFileError;
        }
    }
    return kExitOk;
}

} // namespace tabulon::cli
