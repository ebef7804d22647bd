#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/file_content.h"
#include "listgen/placeholders.h"
#include "listgen/sink.h"

namespace tabulon {

// An entry composed whole before it is written, so that the include markers
// ({{INC(name)}}) in its template text and in the file's own text are found.
// What a name stands for is marked as such and never read as a marker, nor
// is a marker looked for again in what an include inserted.
class IncludeScan {
public:
    // Starts the next entry.
    void clear() {
        text_.clear();
        opaque_.clear();
    }
    // The entry as composed so far, appended to by the writer.
    std::string& text() { return text_; }
    // What was appended from `from` on comes from a name.
    void markOpaque(std::size_t from) { opaque_.emplace_back(from, text_.size()); }
    // Writes the entry with each include replaced by the named file's text.
    void write(Sink& sink);

private:
    struct IncludeEnd {
        std::size_t at; // npos when there is none
        std::size_t length;
        ValueEscape escape;
        bool known; // a form the engine knows
    };
    bool isTemplateText(std::size_t at, std::size_t length) const;
    std::size_t findInTemplateText(std::string_view marker, std::size_t from) const;
    IncludeEnd findIncludeEnd(std::size_t from) const;
    void appendInclude(Sink& sink, std::string_view name, ValueEscape escape);

    std::string text_;
    std::vector<std::pair<std::size_t, std::size_t>> opaque_; // name text in text_
    // Reused from entry to entry.
    FileReader reader_;
    std::string scratch_;
};

} // namespace tabulon
