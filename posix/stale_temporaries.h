#pragma once

#include <string_view>

namespace tabulon {

// What follows "PREFIX PID -" in a temporary's name.
enum class TemporaryTail {
    SixLetters, // a file written atomically: six random letters or digits
    Numbered,   // a thumbnail or tag: a count, or "tag" and a count, then an extension of letters
};

// Removes, from the folder open as `dir`, the temporary files of runs that
// are gone (killed before they could rename or remove them): regular files
// named `prefix`, a process ID, '-' and a tail of exactly that shape, whose
// process no longer exists. Nothing else is touched; what cannot be removed
// stays. A process of another machine sharing the folder looks gone: its
// rename then fails rather than lose anything.
void removeStaleTemporaries(int dir, std::string_view prefix, TemporaryTail tail);

} // namespace tabulon
