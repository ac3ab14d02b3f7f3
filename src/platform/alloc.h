// The engine's single allocator for workspace storage. Every workspace
// allocation goes through here so that a test can make the k-th one fail.
#pragma once
#include <cstddef>

namespace vt::platform {

// Returns zero-initialised storage for `count` objects of `size` bytes, or
// nullptr when exhausted (or when an injected failure is due).
void* Allocate(std::size_t count, std::size_t size) noexcept;

// Releases storage from Allocate; null is ignored.
void Release(void* p) noexcept;

// Test hook: the k-th allocation from now (1-based) fails; 0 disarms.
void FailAllocationAt(long k) noexcept;

// Number of live allocations (Allocate minus Release), for leak tests.
long LiveAllocations() noexcept;

template <class T>
T* AllocateArray(std::size_t count) noexcept {
    return static_cast<T*>(Allocate(count, sizeof(T)));
}

}  // namespace vt::platform
