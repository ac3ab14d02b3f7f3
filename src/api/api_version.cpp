// The version export. It only stores three constants: no floating-point work
// and nothing that can throw, so it needs no export scope.
#include "vantaro/vantaro.h"

extern "C" {

VANTARO_API void VantaroVersion(int32_t* major, int32_t* minor, int32_t* patch) {
    if (major) *major = VANTARO_VERSION_MAJOR;
    if (minor) *minor = VANTARO_VERSION_MINOR;
    if (patch) *patch = VANTARO_VERSION_PATCH;
}

}  // extern "C"
