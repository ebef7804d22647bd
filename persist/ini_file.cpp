#include "persist/ini_file.h"

#include "base/file_content.h"
#include "persist/atomic_file.h"
#include "persist/ini_document.h"

namespace tabulon {

namespace {

IoError invalidName(const std::string& path) {
    return IoError{path, std::make_error_code(std::errc::invalid_argument)};
}

} // namespace

Result<IniValues, IoError> CIniFIle::readSection(std::string_view section,
                                                 std::span<const std::string_view> keys) const {
    FileReader reader;
    if (IoResult read = reader.read(path_); !read.ok())
        return read.error();
    const IniDocument doc = IniDocument::parse(reader.data());
    IniValues values;
    for (const std::string_view key : keys) {
        const auto value = doc.get(section, key);
        values.push_back(value ? std::optional<std::string>(*value) : std::nullopt);
    }
    return values;
}

IoResult CIniFIle::replaceWithSection(std::string_view section, std::span<const IniEntry> entries) {
    IniDocument doc;
    for (const auto& [key, value] : entries) {
        if (!doc.set(section, key, value))
            return invalidName(path_);
    }
    return writeFileAtomically(path_, doc.serialize());
}

} // namespace tabulon
