// Compiled only by the layering tests, for a target that links persistence
// alone: its headers are found, and the build stops at the window's settings
// store, which is published to the window's target alone.
#include "persist/config_file.h"

#include "persist/settings_store.h"
