#include "listgen/list_assembly.h"

#include <utility>

#include "listgen/selection_text.h"

namespace tabulon {

WidthCheck generateList(const TemplateSet& set, std::string_view selection, Sink& sink,
                        std::optional<MediaUse> media, ListProgress progress, LeaveOut leaveOut) {
    const WidthCheck width = checkWidth(set.width);
    if (!width.ok())
        return width;
    EntryProcessor processor(set, width.value(), sink, std::move(media));
    processor.watch(std::move(progress));
    processor.leaveOut(std::move(leaveOut));
    processor.start();
    forEachSelectedFile(selection, [&](std::string_view folder, std::string_view name) {
        processor.ProcessFile(folder, name);
    });
    processor.finish();
    return width;
}

std::size_t countSelectedFiles(std::string_view selection) {
    std::size_t count = 0;
    forEachSelectedFile(selection, [&count](std::string_view, std::string_view) { ++count; });
    return count;
}

} // namespace tabulon
