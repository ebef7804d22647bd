#pragma once

namespace tabulon::cli {

// Where tabulon-cli's own messages go: the user's stderr, descriptor 2 until
// quietLibraries() has moved it.
int messageFd();

// The decoder libraries that the media module loads (libheif, dav1d and
// others) write their own lines to descriptor 2, without our prefix, and
// from any thread. This points descriptor 2 at a pipe that a thread of its
// own empties and drops, and keeps the user's stderr on another descriptor
// for messageFd(): every line the user sees then comes from tabulon-cli,
// and what a decoder found wrong with a picture reaches them in the one
// warning for that picture, which carries libvips's reason. Leaves
// everything as it was when it cannot be set up. Once per process.
void quietLibraries();

} // namespace tabulon::cli
