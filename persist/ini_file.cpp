#include "persist/ini_file.h"

#include "base/file_content.h"
#include "base/name_parts.h"
#include "persist/atomic_file.h"
#include "persist/ini_document.h"

namespace tabulon {

namespace {

IoError invalidName(const std::string& path) {
    return IoError{path, std::make_error_code(std::errc::invalid_argument)};
}

} // namespace

void CIniFIle::CreateIni(std::string_view folder, std::string_view name) {
    path_ = JoinPath(folder, name);
}

std::string CIniFIle::JoinPath(std::string_view first, std::string_view second) {
    while (!first.empty() && isSeparator(first.back()))
        first.remove_suffix(1);
    while (!second.empty() && isSeparator(second.front()))
        second.remove_prefix(1);
    std::string path(first);
    path.push_back(kNativeSeparator);
    path.append(second);
    return path;
}

std::string CIniFIle::GetFile(std::string_view section, std::string_view key) const {
    const auto values = readSection(section, {&key, 1});
    if (!values.ok())
        return {};
    return values.value().front().value_or(std::string());
}

IoResult CIniFIle::WriteFile(std::string_view section, std::string_view key, std::string_view value) {
    FileReader reader;
    // A missing file is one without keys yet.
    if (IoResult read = reader.read(path_);
        !read.ok() && read.error().code != std::errc::no_such_file_or_directory)
        return read;
    IniDocument doc = IniDocument::parse(reader.data());
    if (!doc.set(section, key, value))
        return invalidName(path_);
    return writeFileAtomically(path_, doc.serialize());
}

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
