#include "listgen/list_assembly.h"

#include <utility>

#include "listgen/selection_text.h"

namespace tabulon {

void generateList(const TemplateSet& set, std::uint32_t width, std::string_view selection, Sink& sink,
                  ListOptions options) {
    EntryProcessor processor(set, width, sink, std::move(options));
    processor.start();
    forEachSelectedFile(selection, [&](std::string_view folder, std::string_view name) {
        processor.ProcessFile(folder, name);
    });
    processor.finish();
}

std::size_t countSelectedFiles(std::string_view selection) {
    std::size_t count = 0;
    forEachSelectedFile(selection, [&count](std::string_view, std::string_view) { ++count; });
    return count;
}

} // namespace tabulon
