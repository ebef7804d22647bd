#include "listgen/include_scan.h"

#include <algorithm>

#include "listgen/escape.h"

namespace tabulon {

namespace {

bool isFormLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

} // namespace

bool IncludeScan::isTemplateText(std::size_t at, std::size_t length) const {
    // A marker that touches name text, or straddles where a name stands, is no marker.
    const auto hit = std::partition_point(opaque_.begin(), opaque_.end(),
                                          [at](const auto& range) { return range.second <= at; });
    return hit == opaque_.end() || hit->first >= at + length;
}

std::size_t IncludeScan::findInTemplateText(std::string_view marker, std::size_t from) const {
    const std::string_view text = text_;
    for (std::size_t at = text.find(marker, from); at != std::string_view::npos;
         at = text.find(marker, at + 1)) {
        if (isTemplateText(at, marker.size()))
            return at;
    }
    return std::string_view::npos;
}

// The first end of an include after `from`: ")}}", or ")" with a form such as
// ":html}}". A form of letters and digits ends the include even when unknown,
// so that the include is left as written rather than running on into the next.
IncludeScan::IncludeEnd IncludeScan::findIncludeEnd(std::size_t from) const {
    const std::string_view text = text_;
    for (std::size_t at = findInTemplateText(")", from); at != std::string_view::npos;
         at = findInTemplateText(")", at + 1)) {
        std::size_t end = at + 1;
        if (text.compare(end, 1, ":") == 0) {
            ++end;
            while (end < text.size() && isFormLetter(text[end]))
                ++end;
        }
        if (text.compare(end, 2, "}}") != 0 || !isTemplateText(at, end + 2 - at))
            continue;
        const std::string_view form = text.substr(at + 1, end - at - 1);
        for (const ValueEscape escape : kEscapes) {
            if (form == formSuffix(escape))
                return {at, end + 2 - at, escape, true};
        }
        return {at, end + 2 - at, ValueEscape::None, false};
    }
    return {std::string_view::npos, 0, ValueEscape::None, false};
}

void IncludeScan::write(Sink& sink) {
    const std::string_view text = text_;
    std::size_t start = 0;
    for (;;) {
        const std::size_t open = findInTemplateText(kIncludeOpen, start);
        if (open == std::string_view::npos)
            break;
        const IncludeEnd close = findIncludeEnd(open + kIncludeOpen.size());
        if (close.at == std::string_view::npos)
            break;
        const std::size_t end = close.at + close.length;
        sink.append(text.substr(start, open - start));
        if (close.known)
            appendInclude(sink,
                          text.substr(open + kIncludeOpen.size(), close.at - open - kIncludeOpen.size()),
                          close.escape);
        else
            sink.append(text.substr(open, end - open)); // a form we do not know stays as written
        // Inserted content is not scanned again.
        start = end;
    }
    sink.append(text.substr(start));
}

void IncludeScan::appendInclude(Sink& sink, std::string_view name, ValueEscape escape) {
    if (!reader_.read(name).ok())
        return;
    if (escape == ValueEscape::None) {
        appendLines(reader_.data(), sink);
        return;
    }
    scratch_.clear();
    appendLines(reader_.data(), scratch_);
    if (escape == ValueEscape::Html)
        appendHtmlEscaped(sink, scratch_);
    else
        appendUrlEscaped(sink, scratch_);
}

} // namespace tabulon
