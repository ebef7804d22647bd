#include "listgen/entry_processor.h"

#include <algorithm>

#include "listgen/name_parts.h"
#include "tabulon/version.h"

namespace tabulon {

namespace {

using Field = EntryTemplate::Field;

constexpr std::string_view kOpeningComment = "<!--Tabulon-->\r\n";
constexpr std::string_view kClosingComment = "\r\n<!--/Tabulon-->";
static_assert(kOpeningComment.substr(4, 7) == std::string_view("Tabulon"));

template <class Out> void Put(Out& out, std::string_view s) {
    out.append(s.data(), s.size());
}

} // namespace

struct EntryProcessor::Names {
    std::string_view folder; // empty when name is a full path
    std::string_view name;
    std::string_view base;
    std::string_view ext;

    template <class Out> void Append(Field field, Out& out) const {
        switch (field) {
        case Field::Base:
            Put(out, base);
            break;
        case Field::Ext:
            Put(out, ext);
            break;
        case Field::ShortExt:
            Put(out, ext.empty() ? ext : ext.substr(1));
            break;
        case Field::File:
            AppendJoinedPath(out, folder, name);
            break;
        case Field::Path:
            if (folder.empty())
                Put(out, GetFilePath(name));
            else
                AppendFolder(out, folder);
            break;
        case Field::Literal:
        case Field::Content:
            break;
        }
    }
};

EntryProcessor::EntryProcessor(const TemplateSet& set, std::uint32_t width, Sink& sink)
    : sink_(sink), entry_(set.newEntry, set.endEntry), top_(ExpandLineBreaks(set.top)),
      newRow_(ExpandLineBreaks(set.newRow)), bottom_(ExpandLineBreaks(set.bottom)),
      comments_(set.addComments == kChecked), width_(std::max<std::uint32_t>(width, 1)), untilRow_(width_) {}

void EntryProcessor::ProcessFile(std::string_view vFilePath, std::string_view vFileName, bool bInitialize) {
    if (bInitialize) {
        lEntryCount_ = 0;
        untilRow_ = width_;
        if (comments_)
            sink_.append(kOpeningComment);
        sink_.append(top_);
        return;
    }

    if (lEntryCount_ > 0 && untilRow_ == 0) {
        sink_.append(newRow_);
        untilRow_ = width_;
    }

    Names names{vFilePath, vFileName, {}, {}};
    if (entry_.usesNameParts()) { // most lists need only the full name
        names.base = GetFileBase(vFileName);
        names.ext = GetFileExt(vFileName);
    }
    if (entry_.needsIncludeScan())
        WriteScanned(names);
    else
        WriteDirect(names);

    --untilRow_;
    ++lEntryCount_;
}

void EntryProcessor::Finish() {
    sink_.append(bottom_);
    if (comments_)
        sink_.append(kClosingComment);
    sink_.flush();
}

void EntryProcessor::WriteDirect(const Names& names) {
    for (const EntryTemplate::Piece& piece : entry_.pieces()) {
        if (piece.field == Field::Literal)
            sink_.append(piece.text);
        else
            names.Append(piece.field, sink_);
    }
}

void EntryProcessor::Compose(const Names& names) {
    composed_.clear();
    opaque_.clear();
    std::size_t contentAt = std::string::npos;
    std::size_t contentSize = 0;
    for (const EntryTemplate::Piece& piece : entry_.pieces()) {
        switch (piece.field) {
        case Field::Literal:
            composed_.append(piece.text);
            break;
        case Field::Content:
            // Read once per entry, however often the placeholder occurs.
            if (contentAt == std::string::npos) {
                contentAt = composed_.size();
                fullName_.clear();
                names.Append(Field::File, fullName_);
                if (!reader_.Read(fullName_))
                    AppendLines(reader_.data(), composed_);
                contentSize = composed_.size() - contentAt;
            } else {
                composed_.append(composed_, contentAt, contentSize);
            }
            break;
        default: {
            const std::size_t start = composed_.size();
            names.Append(piece.field, composed_);
            opaque_.emplace_back(start, composed_.size());
        }
        }
    }
}

std::size_t EntryProcessor::FindInTemplateText(std::string_view marker, std::size_t from) const {
    const std::string_view text = composed_;
    for (;;) {
        const std::size_t at = text.find(marker, from);
        if (at == std::string_view::npos)
            return at;
        // A marker that touches name text, or straddles where a name stands,
        // is no marker.
        const auto hit = std::partition_point(opaque_.begin(), opaque_.end(),
                                              [at](const auto& range) { return range.second <= at; });
        if (hit == opaque_.end() || hit->first >= at + marker.size())
            return at;
        from = at + 1;
    }
}

void EntryProcessor::WriteScanned(const Names& names) {
    Compose(names);
    const std::string_view text = composed_;
    std::size_t start = 0;
    for (;;) {
        const std::size_t open = FindInTemplateText(kIncludeOpen, start);
        if (open == std::string_view::npos)
            break;
        const std::size_t close = FindInTemplateText(kIncludeClose, open + kIncludeOpen.size());
        if (close == std::string_view::npos)
            break;
        sink_.append(text.substr(start, open - start));
        AppendInclude(text.substr(open + kIncludeOpen.size(), close - open - kIncludeOpen.size()));
        // Inserted content is not scanned again.
        start = close + kIncludeClose.size();
    }
    sink_.append(text.substr(start));
}

void EntryProcessor::AppendInclude(std::string_view name) {
    if (!reader_.Read(name))
        AppendLines(reader_.data(), sink_);
}

} // namespace tabulon
