#pragma once

#include <concepts>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <string_view>

namespace tabulon::test {

// A fresh folder under the system's temporary folder, removed with its
// contents at the end of the test.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tabulon-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        path_ = pattern;
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code ec;
        // Give back write rights that a test took away, or the removal fails.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ec))
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }

    const std::filesystem::path& path() const { return path_; }
    std::string operator/(std::string_view name) const { return (path_ / name).string(); }

    // Writes bytes exactly as given and returns the file's path.
    std::string write(std::string_view name, std::string_view bytes) const {
        const std::string file = *this / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

private:
    std::filesystem::path path_;
};

inline std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Test names as sentences: "a name" becomes a_name.
inline std::string sentenceName(std::string_view sentence) {
    std::string name;
    for (const char c : sentence) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            name.push_back(c);
        else if (!name.empty() && name.back() != '_')
            name.push_back('_');
    }
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    return name;
}

// The case of a parameterised suite that says what it checks in a sentence:
// the test is named after it (INSTANTIATE_TEST_SUITE_P(..., test::bySentence))
// and shown by it, never as the case's bytes.
struct Sentence {
    const char* sentence;
};

template <std::derived_from<Sentence> Case> void PrintTo(const Case& c, std::ostream* os) {
    *os << c.sentence;
}

inline constexpr auto bySentence = [](const auto& info) { return sentenceName(info.param.sentence); };

} // namespace tabulon::test
