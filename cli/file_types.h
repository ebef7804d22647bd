#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tabulon::cli {

// The picture types a browser shows, in the file dialog's filter syntax.
inline constexpr std::string_view kImagePatterns = "*.jpg;*.jpeg;*.png;*.gif;*.webp;*.avif;*.svg;*.bmp;*.ico";

// Which of the files found in a folder a list takes, by name: patterns as in
// the file dialog's filter ("*.jpg;*.png"), matched without regard to case.
// An excluded name stays out even when it is also included; with nothing
// included, every name not excluded is taken.
class FileTypes {
public:
    void include(std::string_view patterns);
    void exclude(std::string_view patterns);

    // `name` is the file's own name, without its folder.
    bool takes(const std::string& name) const;
    // Whether a pattern to exclude matches `name`.
    bool excludes(const std::string& name) const;
    // Whether pictures are among the types included: a folder walk for a gallery.
    bool takesPictures() const;

private:
    std::vector<std::string> included_;
    std::vector<std::string> excluded_;
};

} // namespace tabulon::cli
