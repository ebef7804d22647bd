#include "listgen/natural_order.h"

#include "base/data_folder.h"
#include "modules/collate_module.h"

namespace tabulon {

NaturalCollation::~NaturalCollation() {
    if (collator_ != nullptr)
        close_(collator_);
}

Result<void, std::string> NaturalCollation::load() {
    if (collator_ != nullptr)
        return {};
    if (!loadError_.empty()) // tried once already: the same answer, at once
        return loadError_;
    const Result<void, std::string> loaded = loadFrom(modulePath(kCollateModule));
    if (!loaded.ok())
        loadError_ = loaded.error();
    return loaded;
}

Result<void, std::string> NaturalCollation::loadFrom(const std::string& path) {
    if (const Result<void, std::string> opened = module_.open(path); !opened.ok())
        return opened.error();
    const auto open = module_.function<TabulonCollateOpen>(kCollateOpen);
    const auto close = module_.function<TabulonCollateClose>(kCollateClose);
    const auto key = module_.function<TabulonCollateKey>(kCollateKey);
    if (!open.ok())
        return open.error();
    if (!close.ok())
        return close.error();
    if (!key.ok())
        return key.error();
    char reason[256] = {};
    void* collator = open.value()(reason, sizeof reason);
    if (collator == nullptr)
        return path + ": " + reason;
    collator_ = collator;
    close_ = close.value();
    key_ = key.value();
    return {};
}

void NaturalCollation::appendNameKey(std::string_view name, std::string& key) {
    if (buffer_.size() < 64 + 4 * name.size())
        buffer_.resize(64 + 4 * name.size());
    std::size_t needed = key_(collator_, name.data(), name.size(), buffer_.data(), buffer_.size());
    if (needed > buffer_.size()) {
        buffer_.resize(needed);
        needed = key_(collator_, name.data(), name.size(), buffer_.data(), buffer_.size());
    }
    // The collator's key without its closing zero, then the bytes for the last
    // ties: a zero ends each, as neither holds one.
    if (needed > 0 && needed <= buffer_.size())
        key.append(reinterpret_cast<const char*>(buffer_.data()), needed - 1);
    key.push_back('\0');
    key.append(name);
    key.push_back('\0');
}

std::string NaturalCollation::pathKey(std::string_view path) {
    // Each part marked as a folder or as the name at the end: a file sorts
    // before any subfolder of the same folder.
    constexpr char kFileMark = '\x01';
    constexpr char kFolderMark = '\x02';
    std::string key;
    for (;;) {
        const std::size_t slash = path.find('/');
        if (slash == std::string_view::npos) {
            key.push_back(kFileMark);
            appendNameKey(path, key);
            return key;
        }
        key.push_back(kFolderMark);
        appendNameKey(path.substr(0, slash), key);
        path.remove_prefix(slash + 1);
    }
}

} // namespace tabulon
