// Compiled only by the layering tests, for a target that links the engine and
// the modules' interfaces: the plain-C interface is found, so the build stops
// at the module's own header, which is published to the module alone.
#include "modules/media_module.h"

#include "modules/bitmap_decoder.h"
