#pragma once

#include <span>
#include <string>

#include "posix/result.h"

namespace tabulon {

// Closes every descriptor but `keep`, gives up every capability, sets no-new-privileges, applies a Landlock
// rule set denying every file-system access where the kernel offers Landlock, and installs the seccomp
// filter. On failure, the reason.
[[nodiscard]] Result<void, std::string> enterDecoderSandbox(std::span<const int> keep);
// Whether this kernel can give decoders their sandbox (seccomp filters); the reason when not.
[[nodiscard]] Result<void, std::string> decoderSandboxAvailable();
// The Landlock part alone, which `enterDecoderSandbox` applies after no-new-privileges (Landlock needs it):
// no path may be opened, made or removed by this thread and those it starts later. True when applied, false
// when the kernel has no Landlock.
[[nodiscard]] Result<bool, std::string> denyEveryPath();

} // namespace tabulon
