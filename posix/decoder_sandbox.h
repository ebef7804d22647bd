#pragma once

#include <span>
#include <string>

#include "posix/result.h"

namespace tabulon {

// Closes every descriptor but `keep`, sets no-new-privileges, applies a Landlock rule set denying every
// file-system access where the kernel offers Landlock, and installs the seccomp filter. On failure, the
// reason.
[[nodiscard]] Result<void, std::string> enterDecoderSandbox(std::span<const int> keep);
// Whether this kernel can give decoders their sandbox (seccomp filters); the reason when not.
[[nodiscard]] Result<void, std::string> decoderSandboxAvailable();

} // namespace tabulon
