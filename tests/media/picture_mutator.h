#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace tabulon::test {

// Damages pictures the way disks, transfers and hostile files do: flipped
// bytes, bytes put in or taken out, a cut-off end, and size fields near the
// start (box, chunk and segment lengths) pushed off by a little or a lot.
// The same seed gives the same damage on every system.
class PictureMutator {
public:
    explicit PictureMutator(std::uint32_t seed) : random_(seed) {}

    // A damaged copy of `bytes`: one change, sometimes two or three.
    std::string mutate(std::string bytes);

private:
    // The standard distributions differ between libraries; a plain modulo of
    // mt19937's fixed sequence does not.
    std::size_t below(std::size_t n) { return n == 0 ? 0 : random_() % n; }

    void flipBytes(std::string& bytes);
    void insertBytes(std::string& bytes);
    void removeBytes(std::string& bytes);
    void truncate(std::string& bytes);
    void bumpSizeField(std::string& bytes);

    std::mt19937 random_;
};

} // namespace tabulon::test
