#include "cli/run.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "base/data_folder.h"
#include "base/name_parts.h"
#include "base/width.h"
#include "cli/cli_options.h"
#include "cli/fd_sink.h"
#include "cli/file_list.h"
#include "cli/library_stderr.h"
#include "cli/name_reader.h"
#include "cli/presets.h"
#include "listgen/entry_processor.h"
#include "listgen/html_page.h"
#include "listgen/media.h"
#include "listgen/relative_names.h"
#include "listgen/thumbnail_leftovers.h"
#include "listgen/thumbnail_workers.h"
#include "listgen/thumbnails.h"
#include "persist/config_file.h"
#include "posix/write_all.h"
#include "tabulon/version.h"

namespace tabulon::cli {

namespace {

constexpr unsigned kMaxJobs = 1024;

void complain(const std::string& message) {
    // A message that cannot be written has nowhere left to be said.
    (void)writeAll(messageFd(), "tabulon-cli: " + message + "\n");
}

// "cannot read X: reason" and the exit status for a file that failed.
int fileFailed(std::string_view prefix, const IoError& error) {
    complain(std::string(prefix) + error.message());
    return kExitFileError;
}

int writeFailed(const WriteFailure& failure) {
    complain(std::string("cannot write ") + failure.what());
    return kExitFileError;
}

// Help and the like go out as a list does: output that is lost is a failure.
int print(std::string_view text) {
    try {
        StdoutSink out;
        out.append(text);
        out.flush();
    } catch (const WriteFailure& failure) {
        return writeFailed(failure);
    }
    return kExitOk;
}

int collationMissing(const std::string& reason) {
    complain("natural order needs the collation module: " + reason);
    return kExitFileError;
}

int listPresets() {
    NaturalCollation natural;
    const Result<std::vector<std::string>, std::string> sorted = sortedPresetNames(presetsFolder(), natural);
    if (!sorted.ok())
        return collationMissing(sorted.error());
    std::string names;
    for (const std::string& name : sorted.value())
        names += name + "\n";
    return print(names);
}

// The templates of the list: the initial set, then the preset, the
// configuration file and the options over it; `width` the checked number of
// entries per row; `extras` from the last file loaded, as its templates are,
// with --new-folder over its NewFolder=.
// Returns the exit code, kExitOk to go on.
int loadTemplateSet(const Options& options, TemplateSet& set, ConfigExtras& extras, std::uint32_t& width) {
    if (options.preset) {
        const std::string folder = presetsFolder();
        const std::vector<std::string> names = presetNames(folder);
        if (std::find(names.begin(), names.end(), *options.preset) == names.end()) {
            complain("no preset named '" + *options.preset + "' (tabulon-cli --list-presets names them)");
            return kExitUsage;
        }
        if (const IoResult loaded = loadConfiguration(folder + *options.preset + ".ini", set, extras);
            !loaded.ok()) {
            return fileFailed("cannot read preset ", loaded.error());
        }
    }
    if (options.config) {
        if (const IoResult loaded = loadConfiguration(*options.config, set, extras); !loaded.ok()) {
            return fileFailed("cannot read configuration ", loaded.error());
        }
    }
    options.applyTo(set);
    if (options.newFolder)
        extras.newFolder = *options.newFolder;

    const WidthCheck check = checkWidth(set.width);
    if (!check.ok()) {
        complain(std::string(check.error()));
        return kExitUsage;
    }
    width = check.value();
    return kExitOk;
}

// The types of the files found in folders: those of the options, else those
// of the configuration; what is excluded stays out either way.
FileTypes fileTypes(const Options& options, const ConfigExtras& extras) {
    FileTypes types;
    if (options.include || options.images) {
        types.include(options.include.value_or(std::string()));
        if (options.images)
            types.include(kImagePatterns);
    } else {
        types.include(extras.files);
    }
    types.exclude(options.exclude.value_or(std::string()));
    return types;
}

// A page's title by default: the name of the first folder given, or of the
// first file's folder. Names from lists are most often relative to the
// current folder, so a list alone is titled after that.
std::string defaultTitle(const Options& options) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path folder = options.files.empty() ? fs::path() : fs::path(options.files.front());
    if (!folder.empty() && !fs::is_directory(folder, error))
        folder = folder.parent_path();
    // "photos/", "." and ".." name a folder too.
    folder = fs::absolute(folder.empty() ? fs::path(".") : folder, error).lexically_normal();
    if (!folder.has_filename())
        folder = folder.parent_path();
    const std::string name = folder.filename().string();
    return name.empty() ? folder.string() : name;
}

PageInfo pageInfo(const Options& options, const ConfigExtras& extras) {
    PageInfo page;
    page.title = options.title ? *options.title : defaultTitle(options);
    if (options.lang)
        page.lang = *options.lang;
    page.style = expandLineBreaks(extras.style);
    page.script = expandLineBreaks(extras.script);
    return page;
}

// The folder the :rel forms are relative to: --relative-to, else the
// configuration's RelativeTo= from where the page goes (the folder of -o,
// else the current folder).
std::string relativeBase(const Options& options, const ConfigExtras& extras) {
    if (options.relativeTo)
        return *options.relativeTo;
    const std::string_view page = options.output ? GetFilePath(*options.output) : std::string_view();
    return resolveRelativeTo(page, extras.relativeTo);
}

// --thumb-dir, --thumb-format and -j, checked. Returns the exit code, kExitOk to go on.
int thumbnailOptions(const Options& options, ThumbnailRules& rules, unsigned& jobs) {
    if (options.thumbDir) {
        if (!isPlainFolderName(*options.thumbDir)) {
            complain("--thumb-dir takes a plain folder name, without '/', not . or ..");
            return kExitUsage;
        }
        rules.folder = *options.thumbDir;
    }
    if (options.thumbFormat) {
        if (!isThumbnailFormat(*options.thumbFormat)) {
            complain("--thumb-format takes same, jpg, png, webp or avif");
            return kExitUsage;
        }
        rules.format = *options.thumbFormat;
    }
    if (options.jobs) {
        unsigned n = 0;
        const std::string& text = *options.jobs;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
        if (error != std::errc() || end != text.data() + text.size() || n < 1 || n > kMaxJobs) {
            complain("-j takes a number of threads from 1 to " + std::to_string(kMaxJobs));
            return kExitUsage;
        }
        jobs = n;
    }
    return kExitOk;
}

// Opens every list of names before anything is written, so that a missing
// one leaves no output.
int openLists(const std::vector<std::string>& paths, std::vector<NameList>& lists) {
    lists.reserve(paths.size());
    for (const std::string& path : paths) {
        lists.emplace_back(path);
        if (const IoResult opened = lists.back().openError(); !opened.ok()) {
            return fileFailed("cannot read ", opened.error());
        }
    }
    return kExitOk;
}

// Where the list goes: standard output, or a file that is replaced only
// when the whole list is written.
class Output {
public:
    int open(const std::optional<std::string>& path) {
        if (!path) {
            sink_ = std::make_unique<StdoutSink>();
            return kExitOk;
        }
        file_ = std::make_unique<AtomicFileWriter>(*path);
        if (const IoResult opened = file_->open(); !opened.ok()) {
            return fileFailed("cannot write ", opened.error());
        }
        sink_ = std::make_unique<AtomicFileSink>(*file_);
        return kExitOk;
    }

    Sink& sink() { return *sink_; }

    int commit() {
        if (file_) {
            if (const IoResult committed = file_->commit(); !committed.ok()) {
                return fileFailed("cannot write ", committed.error());
            }
        }
        return kExitOk;
    }

private:
    std::unique_ptr<AtomicFileWriter> file_; // without commit() the target stays as it was
    std::unique_ptr<Sink> sink_;
};

// Writes the list: the names given, then those from each list in turn.
// `thumbnailFolders` gets the folders of thumbnails Tabulon made that the
// list used or its walks passed.
int writeList(const Options& options, ListingRules rules, NaturalCollation& natural, const TemplateSet& set,
              std::uint32_t width, const std::optional<PageInfo>& page, std::vector<NameList>& lists,
              ListOptions list, Sink& sink, std::vector<std::string>& thumbnailFolders) {
    try {
        if (page)
            sink.append(pageStart(*page));
        EntryProcessor processor(set, width, sink, std::move(list));
        processor.start();
        FileList files(rules, natural, [&](std::string_view name) { processor.ProcessFile(name); });
        IoResult folders;
        for (const std::string& name : options.files) {
            if (folders.ok())
                folders = files.add(name);
        }
        // Names from a list are files as given: no look at the disk for each
        // of a million names.
        for (NameList& list : lists) {
            const IoResult read = list.forEach(options.nullSeparated, [&](std::string_view name) {
                if (files.streams()) // straight on: no call through the list per name
                    processor.ProcessFile(name);
                else
                    files.addFile(name);
            });
            if (!read.ok()) {
                return fileFailed("cannot read ", read.error());
            }
        }
        if (!folders.ok()) {
            return fileFailed("cannot read folder ", folders.error());
        }
        if (const Result<void, std::string> sorted = files.finish(); !sorted.ok())
            return collationMissing(sorted.error());
        processor.finish();
        if (!files.leftOut().empty()) {
            const bool typesGiven = options.include || options.images;
            complain(files.leftOut().message(processor.makesThumbnails(),
                                             typesGiven ? "--include" : "--images --include"));
        }
        thumbnailFolders = processor.thumbnailFolders();
        thumbnailFolders.insert(thumbnailFolders.end(), files.thumbnailFolders().begin(),
                                files.thumbnailFolders().end());
        if (page) {
            sink.append(kLineBreak);
            sink.append(pageEnd(*page));
            sink.flush();
        }
    } catch (const WriteFailure& failure) {
        return writeFailed(failure);
    } catch (const ThumbnailFailure& failure) {
        complain(failure.what());
        return kExitFileError;
    } catch (const std::bad_alloc&) {
        complain("not enough memory for an included file");
        return kExitFileError;
    }
    return kExitOk;
}

// Says which thumbnails in `folders` belong to pictures that are gone, or
// with --prune-thumbs deletes them. Returns the exit code.
int leftoverThumbnails(const std::vector<std::string>& folders, bool prune) {
    constexpr std::size_t kNamed = 3;
    std::set<std::pair<dev_t, ino_t>> seen; // a folder used and walked past is looked at once
    int code = kExitOk;
    for (const std::string& folder : folders) {
        struct stat st {};
        if (::stat(folder.c_str(), &st) != 0 || !seen.insert({st.st_dev, st.st_ino}).second)
            continue;
        const std::vector<std::string> gone = goneThumbnails(folder);
        if (gone.empty())
            continue;
        const std::string count = gone.size() == 1
                                      ? "1 thumbnail of a picture that is gone"
                                      : std::to_string(gone.size()) + " thumbnails of pictures that are gone";
        if (prune) {
            const std::vector<std::string> failures = pruneThumbnails(folder, gone);
            for (const std::string& failure : failures)
                complain(failure);
            if (!failures.empty())
                code = kExitFileError;
            else
                complain("deleted " + count + " in " + folder);
            continue;
        }
        std::string names;
        for (std::size_t i = 0; i < gone.size() && i < kNamed; ++i)
            names += (i > 0 ? ", " : "") + gone[i];
        if (gone.size() > kNamed)
            names += ", ...";
        complain(count + " in " + folder + ": " + names + "; --prune-thumbs deletes " +
                 (gone.size() == 1 ? "it" : "them"));
    }
    return code;
}

} // namespace

int run(const std::vector<std::string_view>& args) {
    const ParsedOptions parsed = parseOptions(args);
    if (!parsed.ok()) {
        complain(parsed.error());
        std::fputs(usage().c_str(), stderr);
        return kExitUsage;
    }
    const Options& options = parsed.value();
    if (options.help)
        return print(usage());
    if (options.version)
        return print(std::string("tabulon-cli ") + kVersionText + "\n");
    if (options.listPresets)
        return listPresets();
    ListingRules rules{options.recursive, options.hidden, SortKey::None, options.reverse, {}, {}, complain};
    if (options.sort) {
        const std::optional<SortKey> key = parseSortKey(*options.sort);
        if (!key) {
            complain("--sort takes none, name, natural, date, size or taken");
            return kExitUsage;
        }
        rules.sort = *key;
    }

    ThumbnailRules thumbs;
    unsigned jobs = 0; // the default counts the memory: worked out only for a list that reads pictures
    if (const int code = thumbnailOptions(options, thumbs, jobs); code != kExitOk)
        return code;

    TemplateSet set = initialTemplateSet();
    ConfigExtras extras;
    std::uint32_t width = 0;
    if (const int code = loadTemplateSet(options, set, extras, width); code != kExitOk)
        return code;
    rules.types = fileTypes(options, extras);
    const std::optional<PageInfo> page =
        options.page ? std::optional<PageInfo>(pageInfo(options, extras)) : std::nullopt;
    std::vector<NameList> lists;
    if (const int code = openLists(options.filesFrom, lists); code != kExitOk)
        return code;
    // Loaded before anything is written: a list that needs it and cannot have it stops here.
    NaturalCollation natural;
    if (needsNaturalOrder(rules, options.files)) {
        if (const Result<void, std::string> loaded = natural.load(); !loaded.ok())
            return collationMissing(loaded.error());
    }
    // Likewise the media module, for the lists whose templates or order use
    // it; one that only makes thumbnails loads it when one is out of date.
    const EntryTemplate entry(set.newEntry, set.endEntry);
    const bool needsMedia = entry.usesMedia();
    if ((needsMedia || rules.sort == SortKey::Taken) && jobs == 0)
        jobs = defaultThumbnailWorkers();
    Media media(DecoderLimits{.workers = std::max(jobs, 1U), .unsafe = options.unsafeDecoding});
    if (needsMedia || rules.sort == SortKey::Taken) {
        const bool thumbnailsOnly = rules.sort != SortKey::Taken && entry.usesThumbnailsOnly();
        if (const Result<void, std::string> found = media.prepare(thumbnailsOnly); !found.ok()) {
            complain(mediaUnavailable(media, found.error()));
            return kExitFileError;
        }
        rules.taken = [&media](const std::string& path) { return takenDay(media, path, complain); };
        quietLibraries();
    }
    const auto warn = [](const std::string& warning) { complain(warning); };
    ListOptions list{.leaveOut = {extras.leaveOutUnsized, warn},
                     .newFolder = extras.newFolder,
                     .relativeTo = relativeBase(options, extras)};
    if (needsMedia)
        list.media.emplace(MediaUse{media, thumbs, jobs, warn});
    Output output;
    if (const int code = output.open(options.output); code != kExitOk)
        return code;
    std::vector<std::string> thumbnailFolders;
    if (const int code = writeList(options, rules, natural, set, width, page, lists, std::move(list),
                                   output.sink(), thumbnailFolders);
        code != kExitOk)
        return code;
    if (const int code = output.commit(); code != kExitOk)
        return code;
    return leftoverThumbnails(thumbnailFolders, options.pruneThumbs);
}

} // namespace tabulon::cli
