#include "platform/alloc.h"

#include <cstdlib>

namespace vt::platform {
namespace {
long g_failAt = 0;   // countdown to an injected failure, 0 = off
long g_live = 0;
}  // namespace

void* Allocate(std::size_t count, std::size_t size) noexcept {
    if (g_failAt > 0 && --g_failAt == 0) return nullptr;
    // calloc(0, ...) may return null; an empty array is still a valid array.
    void* p = std::calloc(count == 0 ? 1 : count, size == 0 ? 1 : size);
    if (p) ++g_live;
    return p;
}

void Release(void* p) noexcept {
    if (!p) return;
    std::free(p);
    --g_live;
}

void FailAllocationAt(long k) noexcept { g_failAt = k > 0 ? k : 0; }

long LiveAllocations() noexcept { return g_live; }

}  // namespace vt::platform
