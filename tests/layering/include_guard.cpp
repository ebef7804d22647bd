// Compiled only by the layering tests: once for a target that links the engine,
// where it must build, and once for one that links persistence alone, where the
// engine's folder is not on the include path and it must not.
#include "listgen/entry_processor.h"
