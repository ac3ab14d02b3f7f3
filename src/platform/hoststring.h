// Host strings: length-prefixed strings of 16-bit characters that the engine
// allocates and the host frees. On Windows these are the OLE Automation
// strings of the system allocator; elsewhere the engine lays them out the
// same way itself: a 32-bit byte length, then the characters, then a 16-bit
// NUL. A string may also carry raw bytes (an odd byte length is allowed).
// The null pointer is a valid empty string.
#pragma once
#include <cstdint>

#include "vantaro/vantaro.h"

namespace vt::platform {

using HostChar = VantaroChar;
using HostString = VantaroString;

// New string holding `len` bytes copied from `bytes` (zero-filled when bytes
// is null), NUL-terminated. Null when out of memory.
HostString AllocStringByteLen(const char* bytes, uint32_t len) noexcept;

// New string of `len` characters copied from `chars` (zero-filled when null).
HostString AllocStringLen(const HostChar* chars, uint32_t len) noexcept;

// Replaces *s with a new copy of the NUL-terminated `chars` (empty when null)
// and frees the old string; `chars` may point into *s. False, with *s left
// as it was, when out of memory.
bool ReAllocString(HostString* s, const HostChar* chars) noexcept;

// Frees a string; null is ignored.
void FreeString(HostString s) noexcept;

// Length in bytes / in 16-bit characters (0 for null).
uint32_t StringByteLen(HostString s) noexcept;
uint32_t StringLen(HostString s) noexcept;

// Replaces *s with the ANSI text widened to 16-bit characters (the process
// code page on Windows; byte for byte elsewhere). False when out of memory
// or when the text cannot be converted (then *s is set to an empty string
// if possible).
bool ReAllocStringFromAnsi(HostString* s, const char* text) noexcept;

// Strings allocated and not yet freed through this layer (for leak tests).
long LiveStrings() noexcept;

}  // namespace vt::platform
