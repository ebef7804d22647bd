#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/file_content.h"
#include "base/template_set.h"
#include "listgen/entry_template.h"
#include "listgen/file_facts.h"
#include "listgen/include_scan.h"
#include "listgen/media.h"
#include "listgen/relative_names.h"
#include "listgen/sink.h"
#include "listgen/thumbnail_queue.h"
#include "listgen/thumbnails.h"

namespace tabulon {

// What the media placeholders need: the loaded module, where thumbnails go,
// how many threads make them, and who hears of pictures that could not be
// read (each named once, in the list's order).
struct MediaUse {
    const Media& media;
    ThumbnailRules rules;
    unsigned workers = 1;
    std::function<void(const std::string&)> warn;
};

// Files a list leaves out rather than give the page an empty size: with
// `unsized`, those whose {{WIDTH}} and {{HEIGHT}} cannot be read, when the
// templates use them. Each is named once to `warn`, in the list's order.
struct LeaveOut {
    bool unsized = false;
    std::function<void(const std::string&)> warn;
};

// A list stopped from outside, between two entries.
class ListCancelled : public std::runtime_error {
public:
    ListCancelled() : std::runtime_error("the list was cancelled") {}
};

// What a caller that runs a list in the background watches it with: a flag
// that stops it (ListCancelled) and the count of entries written, each
// checked or reported between entries, on the thread that writes the list.
struct ListProgress {
    const std::atomic<bool>* cancel = nullptr;
    std::function<void(std::int64_t written)> written;
};

// What a list is made with besides its templates and its width, all of it
// optional. Without `media`, media placeholders stay as written; `progress`
// watches the list, which then may end in ListCancelled; `newFolder` is
// written before an entry whose folder differs from the one of the entry
// written before it; the :rel forms are relative to `relativeTo`, absolute or
// relative to the current folder (empty: the current folder).
struct ListOptions {
    std::optional<MediaUse> media = std::nullopt;
    ListProgress progress = {};
    LeaveOut leaveOut = {};
    std::string newFolder = {};
    std::string relativeTo = {};
};

// Writes a list's entries: owns the entry counter and writes the result to a
// sink. Names never count as template text: a file named x{{INC(y)}}.jpg is
// listed by its name and nothing else is read.
class EntryProcessor {
public:
    // `width` is the checked number of entries per row (at least 1).
    EntryProcessor(const TemplateSet& set, std::uint32_t width, Sink& sink, ListOptions options = {});
    ~EntryProcessor();
    // Whether the templates hold placeholders of the media module.
    bool usesMedia() const { return entry_.usesMedia(); }
    bool makesThumbnails() const { return thumbnails_ != nullptr; }

    // Starts a list: the opening comment and the top text, with the entry
    // count back at zero.
    void start();
    // Writes one entry, for a full path in `name` (`folder` empty) or a
    // folder and a bare name. With thumbnails, entries wait in order for
    // theirs while later ones are being made; a ThumbnailFailure stops the list.
    // An entry whose thumbnail could not be made is left out with a warning
    // (MediaUse::warn), as is one without a size under LeaveOut::unsized;
    // {{N}}, {{ROW}} and {{COL}} count the entries written, and an entry left
    // out starts no folder.
    void ProcessFile(std::string_view folder, std::string_view name);
    void ProcessFile(std::string_view fullPath) { ProcessFile({}, fullPath); }

    // The bottom text and the closing comment; flushes the sink.
    void finish();
    // The thumbnail folders Tabulon made that the list used.
    std::vector<std::string> thumbnailFolders() const {
        return thumbnails_ ? thumbnails_->tabulonFolders() : std::vector<std::string>();
    }

private:
    struct Names;

    void writeEntry(std::string_view folder, std::string_view name);
    // A run of entries of one folder under its new-folder text: the text is
    // written when the run starts or, when it counts them, once it ends.
    void startFolderRun(const Names& names);
    void endFolderRun();
    void writeNewFolder();
    // Where entries go: the sink, or the run held.
    Sink& out() { return held_ ? *held_ : sink_; }
    std::string thumbnailTrouble(const Names& names);
    void stopIfCancelled() const {
        if (progress_.cancel != nullptr && progress_.cancel->load(std::memory_order_relaxed))
            throw ListCancelled();
    }
    void writeFront();
    bool asWritten(const EntryTemplate::Piece& piece) const {
        return piece.field == EntryTemplate::Field::Literal ||
               (!media_ && EntryTemplate::isMedia(piece.field));
    }
    const Media::Metadata& metadata(const Names& names);

    void writeDirect(const Names& names);
    // The entry composed whole, then written with its includes.
    void writeScanned(const Names& names);

    // A value as the page gets it, escaped as the piece asks.
    template <class Out> void appendValue(const EntryTemplate::Piece& piece, const Names& names, Out& out);
    template <class Out> void appendRaw(const EntryTemplate::Piece& piece, const Names& names, Out& out);
    // A :rel form's value; false for a name that cannot be made relative,
    // which is then written as it is.
    template <class Out> bool appendRelative(const EntryTemplate::Piece& piece, const Names& names, Out& out);
    std::optional<std::string> relativeName(std::string_view name);
    // What is read from the file system once per entry, on first use.
    const std::string& fullName(const Names& names);
    std::string_view content(const Names& names);
    const std::string& imageDimension(const Names& names, bool width);
    const FileFacts& facts(const Names& names);
    const std::string& entryFolder(const Names& names);

    Sink& sink_;
    EntryTemplate entry_;
    std::optional<MediaUse> media_;
    ListProgress progress_;
    LeaveOut leaveOut_;
    std::unique_ptr<ThumbnailQueue> thumbnails_;
    std::shared_ptr<ThumbnailJob> thumbs_; // of the entry being written
    std::optional<Media::Metadata> meta_;
    std::string top_;
    std::string newRow_;
    std::string bottom_;
    bool comments_;
    std::uint32_t width_;
    std::int64_t entryCount_ = 0;
    std::uint32_t untilRow_ = 0; // entries left in the current row

    std::string relativeTo_;
    std::optional<RelativeNames> relative_; // made on first use

    std::unique_ptr<EntryTemplate> newFolder_;
    bool holdsRuns_ = false; // the new-folder text counts its entries
    bool inRun_ = false;
    std::string runFolder_;          // of the entries written since the last new-folder text
    std::int64_t runCount_ = 0;      // how many they are
    std::optional<StringSink> held_; // they, while the text waits for their count

    // Reused from entry to entry, so a long list allocates nothing per file.
    FileReader reader_;
    std::string fullName_;
    std::string content_;
    std::string scratch_;
    IncludeScan composed_;
    std::string imageWidth_;
    std::string imageHeight_;
    FileFacts facts_;
    std::string path_;
    std::string folder_;
    // Which of the per-entry values above belong to the entry being written.
    bool haveFullName_ = false;
    bool haveContent_ = false;
    bool haveImage_ = false;
    bool haveFacts_ = false;
    bool haveFolder_ = false;
    // Where the file's own text stands in composed_, when it was read straight in.
    std::size_t contentAt_ = std::string::npos;
    std::size_t contentSize_ = 0;
};

} // namespace tabulon
