#include "persist/ini_file.h"

#include "listgen/file_content.h"
#include "listgen/name_parts.h"
#include "persist/atomic_file.h"
#include "persist/ini_document.h"

namespace tabulon {

void CIniFIle::CreateIni(std::string_view strDrv, std::string_view strDir) {
    path_ = JoinPath(strDrv, strDir);
}

std::string CIniFIle::JoinPath(std::string_view first, std::string_view second) {
    while (!first.empty() && IsSeparator(first.back()))
        first.remove_suffix(1);
    while (!second.empty() && IsSeparator(second.front()))
        second.remove_prefix(1);
    std::string path(first);
    path.push_back(kNativeSeparator);
    path.append(second);
    return path;
}

std::string CIniFIle::GetFile(std::string_view strSection, std::string_view strKey) const {
    FileReader reader;
    if (reader.Read(path_))
        return {};
    const IniDocument doc = IniDocument::Parse(reader.data());
    const auto value = doc.Get(strSection, strKey);
    return value ? std::string(*value) : std::string();
}

IoResult CIniFIle::WriteFile(std::string_view strSection, std::string_view strKey,
                             std::string_view strValue) {
    FileReader reader;
    const std::error_code readError = reader.Read(path_);
    if (readError && readError != std::errc::no_such_file_or_directory)
        return IoError{path_, readError};
    IniDocument doc = IniDocument::Parse(reader.data());
    if (!doc.Set(strSection, strKey, strValue))
        return IoError{path_, std::make_error_code(std::errc::invalid_argument)};
    return WriteFileAtomically(path_, doc.Serialize());
}

} // namespace tabulon
