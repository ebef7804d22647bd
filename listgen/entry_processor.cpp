#include "listgen/entry_processor.h"

#include <algorithm>
#include <charconv>

#include "base/name_parts.h"
#include "listgen/escape.h"
#include "listgen/folder_names.h"
#include "listgen/image_size.h"
#include "tabulon/version.h"

namespace tabulon {

namespace {

using Field = EntryTemplate::Field;
using Escape = EntryTemplate::Escape;

constexpr std::string_view kOpeningComment = "<!--Tabulon-->\r\n";
constexpr std::string_view kClosingComment = "\r\n<!--/Tabulon-->";
static_assert(kOpeningComment.substr(4, 7) == std::string_view("Tabulon"));

template <class Out> void put(Out& out, std::string_view s) {
    out.append(s.data(), s.size());
}

template <class Out> void putNumber(Out& out, std::uint64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, static_cast<std::size_t>(end - digits));
}

template <class Out> void putEscaped(Out& out, std::string_view value, Escape escape) {
    switch (escape) {
    case Escape::None:
        put(out, value);
        break;
    case Escape::Html:
        appendHtmlEscaped(out, value);
        break;
    case Escape::Url:
        appendUrlEscaped(out, value);
        break;
    }
}

} // namespace

struct EntryProcessor::Names {
    std::string_view folder; // empty when name is a full path
    std::string_view name;
    std::string_view base;
    std::string_view ext;
};

EntryProcessor::EntryProcessor(const TemplateSet& set, std::uint32_t width, Sink& sink, ListOptions options)
    : sink_(sink), entry_(set.newEntry, set.endEntry), media_(std::move(options.media)),
      progress_(std::move(options.progress)), leaveOut_(std::move(options.leaveOut)),
      top_(expandLineBreaks(set.top)), newRow_(expandLineBreaks(set.newRow)),
      bottom_(expandLineBreaks(set.bottom)), comments_(set.addComments == kChecked),
      width_(std::max<std::uint32_t>(width, 1)), untilRow_(width_),
      relativeTo_(std::move(options.relativeTo)) {
    if (!options.newFolder.empty()) {
        newFolder_ = std::make_unique<EntryTemplate>(options.newFolder, std::string_view(),
                                                     EntryTemplate::Text::NewFolder);
        holdsRuns_ = newFolder_->holds(Field::FolderCount);
    }
    if (media_ && !entry_.thumbSizes().empty()) {
        thumbnails_ = std::make_unique<ThumbnailQueue>(media_->media, media_->rules, entry_.thumbSizes(),
                                                       media_->workers);
        if (!thumbnails_->shortfall().empty() && media_->warn)
            media_->warn(thumbnails_->shortfall());
    }
}

EntryProcessor::~EntryProcessor() = default;

void EntryProcessor::start() {
    entryCount_ = 0;
    untilRow_ = width_;
    inRun_ = false;
    held_.reset();
    if (comments_)
        sink_.append(kOpeningComment);
    sink_.append(top_);
}

void EntryProcessor::ProcessFile(std::string_view folder, std::string_view name) {
    if (!thumbnails_) {
        writeEntry(folder, name);
        return;
    }
    stopIfCancelled(); // before another picture is handed to the workers
    thumbnails_->add(folder, name);
    while (thumbnails_->full())
        writeFront();
}

void EntryProcessor::writeFront() {
    stopIfCancelled(); // rather than wait for a thumbnail nobody wants
    const ThumbnailQueue::Entry entry = thumbnails_->next();
    thumbs_ = entry.job;
    writeEntry(entry.folder, entry.name);
    thumbs_.reset();
}

// Why the entry's thumbnails cannot stand in the page (a page with an empty
// src or width is invalid); empty when they can.
std::string EntryProcessor::thumbnailTrouble(const Names& names) {
    for (const Thumbnail& made : thumbs_->made) {
        if (made.isPicture) {
            if (entry_.needs().thumbnailSize && imageDimension(names, true).empty())
                return "its width and height cannot be read";
        } else if (made.name.empty()) {
            return made.warning.empty() ? "cannot make a thumbnail" : made.warning;
        } else if (!made.size) {
            return "cannot read the size of its thumbnail " + made.name;
        }
    }
    return {};
}

void EntryProcessor::writeEntry(std::string_view folder, std::string_view name) {
    stopIfCancelled();
    Names names{folder, name, {}, {}};
    if (entry_.usesNameParts()) { // most lists need only the full name
        names.base = GetFileBase(name);
        names.ext = GetFileExt(name);
    }
    haveFullName_ = haveContent_ = haveImage_ = haveFacts_ = haveFolder_ = false;
    meta_.reset();
    contentAt_ = std::string::npos;

    // Left out before anything of it is written: it does not count.
    if (thumbs_) {
        if (const std::string why = thumbnailTrouble(names); !why.empty()) {
            if (media_->warn)
                media_->warn("left out " + fullName(names) + ": " + why);
            return;
        }
        // A thumbnail made despite a warning still stands.
        for (const Thumbnail& made : thumbs_->made) {
            if (!made.warning.empty() && media_->warn) {
                media_->warn(fullName(names) + ": " + made.warning);
                break;
            }
        }
    }
    if (leaveOut_.unsized && entry_.needs().imageSize && imageDimension(names, true).empty()) {
        if (leaveOut_.warn)
            leaveOut_.warn("left out " + fullName(names) + ": its width and height cannot be read");
        return;
    }
    const bool startsFolder = newFolder_ && (!inRun_ || entryFolder(names) != runFolder_);
    if (startsFolder)
        endFolderRun();
    if (entryCount_ > 0 && untilRow_ == 0) {
        out().append(newRow_);
        untilRow_ = width_;
    }
    if (startsFolder)
        startFolderRun(names);
    if (entry_.needsIncludeScan())
        writeScanned(names);
    else
        writeDirect(names);
    // Its metadata is empty then; the entry stands.
    if (meta_ && !meta_->failure().empty() && media_->warn)
        media_->warn(fullName(names) + ": " + meta_->failure());

    --untilRow_;
    ++entryCount_;
    ++runCount_;
    if (progress_.written)
        progress_.written(entryCount_);
}

void EntryProcessor::startFolderRun(const Names& names) {
    runFolder_ = entryFolder(names);
    runCount_ = 0;
    inRun_ = true;
    if (holdsRuns_)
        held_.emplace();
    else
        writeNewFolder();
}

void EntryProcessor::endFolderRun() {
    if (!held_)
        return;
    writeNewFolder();
    sink_.append(held_->take());
    held_.reset();
}

void EntryProcessor::writeNewFolder() {
    for (const EntryTemplate::Piece& piece : newFolder_->pieces()) {
        if (piece.field == Field::Folder) {
            const std::optional<std::string> relative =
                piece.relative ? relativeName(runFolder_) : std::nullopt;
            putEscaped(sink_, relative ? *relative : runFolder_, piece.escape);
        } else if (piece.field == Field::FolderName) {
            putEscaped(sink_, folderName(runFolder_), piece.escape);
        } else if (piece.field == Field::FolderCount) {
            putNumber(sink_, static_cast<std::uint64_t>(runCount_));
        } else {
            sink_.append(piece.text);
        }
    }
}

void EntryProcessor::finish() {
    while (thumbnails_ && !thumbnails_->empty())
        writeFront();
    endFolderRun();
    sink_.append(bottom_);
    if (comments_)
        sink_.append(kClosingComment);
    sink_.flush();
}

const std::string& EntryProcessor::fullName(const Names& names) {
    if (!haveFullName_) {
        fullName_.clear();
        appendJoinedPath(fullName_, names.folder, names.name);
        haveFullName_ = true;
    }
    return fullName_;
}

// Read once per entry, however often the placeholders stand in it.
std::string_view EntryProcessor::content(const Names& names) {
    if (contentAt_ != std::string::npos)
        return std::string_view(composed_.text()).substr(contentAt_, contentSize_);
    if (!haveContent_) {
        content_.clear();
        if (reader_.read(fullName(names)).ok())
            appendLines(reader_.data(), content_);
        haveContent_ = true;
    }
    return content_;
}

const std::string& EntryProcessor::imageDimension(const Names& names, bool width) {
    if (!haveImage_) {
        imageWidth_.clear();
        imageHeight_.clear();
        std::optional<ImageSize> size;
        const std::string& name = fullName(names);
        // Metadata behind the image data (a WebP's orientation) comes in a read of its own.
        const ImageBytesAt more = [&name](std::uint64_t offset, std::size_t limit) {
            FileReader piece;
            return piece.readAt(name, offset, limit).ok() ? std::string(piece.data()) : std::string();
        };
        if (reader_.readHead(name, kImageHeadSize).ok()) {
            size = readImageSize(reader_.data(), more);
            // A photo's frame header can lie behind a large colour profile.
            if (!size && reader_.data().starts_with("\xFF\xD8") && reader_.data().size() == kImageHeadSize &&
                reader_.readHead(name, kJpegHeadSize).ok())
                size = readImageSize(reader_.data(), more);
        }
        if (size) {
            putNumber(imageWidth_, size->width);
            putNumber(imageHeight_, size->height);
        }
        haveImage_ = true;
    }
    return width ? imageWidth_ : imageHeight_;
}

const FileFacts& EntryProcessor::facts(const Names& names) {
    if (!haveFacts_) {
        facts_ = readFileFacts(fullName(names));
        haveFacts_ = true;
    }
    return facts_;
}

const std::string& EntryProcessor::entryFolder(const Names& names) {
    if (!haveFolder_) {
        path_.clear();
        if (names.folder.empty())
            put(path_, GetFilePath(names.name));
        else
            appendFolder(path_, names.folder);
        folder_ = folderOfPath(path_);
        haveFolder_ = true;
    }
    return folder_;
}

const Media::Metadata& EntryProcessor::metadata(const Names& names) {
    if (!meta_)
        meta_.emplace(media_->media, fullName(names));
    return *meta_;
}

std::optional<std::string> EntryProcessor::relativeName(std::string_view name) {
    if (!relative_)
        relative_.emplace(relativeTo_);
    return relative_->of(name);
}

template <class Out>
bool EntryProcessor::appendRelative(const EntryTemplate::Piece& piece, const Names& names, Out& out) {
    std::optional<std::string> relative;
    switch (piece.field) {
    case Field::File:
        relative = relativeName(fullName(names));
        break;
    case Field::Thumb:
        if (!thumbs_ || piece.number >= thumbs_->made.size() || thumbs_->made[piece.number].name.empty())
            return false;
        relative = relativeName(thumbs_->made[piece.number].name);
        break;
    case Field::Path:
    case Field::Folder:
        relative = relativeName(entryFolder(names));
        // The page's own folder is no folder to write before a name.
        if (relative && piece.field == Field::Path) {
            if (*relative == ".")
                relative->clear();
            else
                relative->push_back(kNativeSeparator);
        }
        break;
    default:
        return false;
    }
    if (relative)
        put(out, *relative);
    return relative.has_value();
}

// Every field has its case, so that the compiler reports one without.
template <class Out>
void EntryProcessor::appendRaw(const EntryTemplate::Piece& piece, const Names& names, Out& out) {
    if (piece.relative && appendRelative(piece, names, out))
        return;
    const Thumbnail* thumb =
        thumbs_ && piece.number < thumbs_->made.size() ? &thumbs_->made[piece.number] : nullptr;
    switch (piece.field) {
    case Field::Literal: // written as it stands, never as a value
        break;
    case Field::Base:
        put(out, names.base);
        break;
    case Field::Ext:
        put(out, names.ext);
        break;
    case Field::ShortExt:
        put(out, names.ext.empty() ? names.ext : names.ext.substr(1));
        break;
    case Field::File:
        appendJoinedPath(out, names.folder, names.name);
        break;
    case Field::Path:
        if (names.folder.empty())
            put(out, GetFilePath(names.name));
        else
            appendFolder(out, names.folder);
        break;
    case Field::Content:
        put(out, content(names));
        break;
    case Field::Width:
    case Field::Height:
        put(out, imageDimension(names, piece.field == Field::Width));
        break;
    case Field::Size:
        if (const auto size = facts(names).size)
            putNumber(out, *size);
        break;
    case Field::Date:
        put(out, facts(names).date);
        break;
    case Field::Number:
        putNumber(out, static_cast<std::uint64_t>(entryCount_) + 1);
        break;
    case Field::Row:
        putNumber(out, static_cast<std::uint64_t>(entryCount_) / width_ + 1);
        break;
    case Field::Column:
        putNumber(out, static_cast<std::uint64_t>(entryCount_) % width_ + 1);
        break;
    case Field::Thumb:
        if (thumb != nullptr)
            put(out, thumb->name);
        break;
    case Field::ThumbWidth:
    case Field::ThumbHeight: {
        const bool width = piece.field == Field::ThumbWidth;
        if (thumb != nullptr && thumb->isPicture)
            put(out, imageDimension(names, width));
        else if (thumb != nullptr && thumb->size)
            putNumber(out, width ? thumb->size->width : thumb->size->height);
        break;
    }
    case Field::Taken: {
        const std::string day = metadata(names).taken();
        put(out, day.empty() ? std::string_view(facts(names).date) : std::string_view(day));
        break;
    }
    case Field::Caption:
        put(out, metadata(names).caption());
        break;
    case Field::Meta:
        put(out, metadata(names).key(std::string(piece.argument)));
        break;
    case Field::Alt: {
        const std::string caption = metadata(names).caption();
        put(out, caption.empty() ? names.base : std::string_view(caption));
        break;
    }
    case Field::Folder:
        put(out, entryFolder(names));
        break;
    case Field::FolderName:
        put(out, folderName(entryFolder(names)));
        break;
    case Field::FolderCount: // only in the new-folder text, written apart
        break;
    }
}

template <class Out>
void EntryProcessor::appendValue(const EntryTemplate::Piece& piece, const Names& names, Out& out) {
    if (piece.escape == Escape::None) {
        appendRaw(piece, names, out);
        return;
    }
    scratch_.clear();
    appendRaw(piece, names, scratch_);
    putEscaped(out, scratch_, piece.escape);
}

void EntryProcessor::writeDirect(const Names& names) {
    Sink& sink = out();
    for (const EntryTemplate::Piece& piece : entry_.pieces()) {
        if (asWritten(piece))
            sink.append(piece.text);
        else
            appendValue(piece, names, sink);
    }
}

void EntryProcessor::writeScanned(const Names& names) {
    composed_.clear();
    std::string& text = composed_.text();
    for (const EntryTemplate::Piece& piece : entry_.pieces()) {
        if (asWritten(piece)) {
            text.append(piece.text);
        } else if (piece.field == Field::Content && piece.escape == Escape::None) {
            // The file's own text, scanned for includes; read straight in the first time.
            if (contentAt_ == std::string::npos) {
                const std::size_t at = text.size();
                if (haveContent_)
                    text.append(content_);
                else if (reader_.read(fullName(names)).ok())
                    appendLines(reader_.data(), text);
                contentAt_ = at;
                contentSize_ = text.size() - at;
            } else {
                text.append(text, contentAt_, contentSize_);
            }
        } else {
            const std::size_t start = text.size();
            appendValue(piece, names, text);
            composed_.markOpaque(start);
        }
    }
    composed_.write(out());
}

} // namespace tabulon
