#include "listgen/list_assembly.h"

#include "listgen/entry_processor.h"
#include "listgen/selection_text.h"

namespace tabulon {

WidthCheck generateList(const TemplateSet& set, std::string_view selection, Sink& sink) {
    const WidthCheck width = checkWidth(set.width);
    if (!width.ok())
        return width;
    EntryProcessor processor(set, width.value(), sink);
    processor.start();
    forEachSelectedFile(selection, [&](std::string_view folder, std::string_view name) {
        processor.ProcessFile(folder, name);
    });
    processor.finish();
    return width;
}

} // namespace tabulon
