#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "posix/result.h"
#include "posix/shared_module.h"

namespace tabulon {

// The order people expect, from ICU's collator in the collation module,
// which is loaded on first use only: letters first whatever their case, an
// accented letter with its base letter, digit runs by value (a2 < A10 < b,
// e < é < f); accents and then case only break ties, and bytes break the
// last ones, so the order is total. Keys compare byte by byte.
class NaturalCollation {
public:
    NaturalCollation() = default;
    NaturalCollation(const NaturalCollation&) = delete;
    NaturalCollation& operator=(const NaturalCollation&) = delete;
    ~NaturalCollation();

    // Loads the module from beside the program (the build tree) or from the
    // installed library folder; once loaded, at once. The error says what is
    // missing.
    [[nodiscard]] Result<void, std::string> load();
    bool loaded() const { return collator_ != nullptr; }

    // The key of one name. Only once loaded.
    void appendNameKey(std::string_view name, std::string& key);
    // The key of a path: its folders compare one by one, and a folder's own
    // files come before its subfolders, as a depth-first walk lists them.
    std::string pathKey(std::string_view path);

private:
    [[nodiscard]] Result<void, std::string> loadFrom(const std::string& path);

    SharedModule module_;
    void* collator_ = nullptr;
    void (*close_)(void*) = nullptr;
    std::size_t (*key_)(void*, const char*, std::size_t, unsigned char*, std::size_t) = nullptr;
    std::vector<unsigned char> buffer_;
    std::string loadError_;
};

} // namespace tabulon
