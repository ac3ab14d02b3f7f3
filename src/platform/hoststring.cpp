#include "platform/hoststring.h"

#include <cstdlib>
#include <cstring>

#if defined(_WIN32)
// windows.h first: oleauto.h relies on its types.
#include <windows.h>

#include <oleauto.h>
#endif

namespace vt::platform {

namespace {
long g_live = 0;
}  // namespace

#if defined(_WIN32)

// The system allocator leaves the text uninitialised when no source is
// given; it is zeroed here as on the other platforms.
HostString AllocStringByteLen(const char* bytes, uint32_t len) noexcept {
    BSTR s = SysAllocStringByteLen(bytes, len);
    if (!s) return nullptr;
    if (!bytes) std::memset(s, 0, len);
    ++g_live;
    return s;
}

HostString AllocStringLen(const HostChar* chars, uint32_t len) noexcept {
    BSTR s = SysAllocStringLen(chars, len);
    if (!s) return nullptr;
    if (!chars) std::memset(s, 0, std::size_t{len} * sizeof(HostChar));
    ++g_live;
    return s;
}

bool ReAllocString(HostString* s, const HostChar* chars) noexcept {
    const bool wasNull = *s == nullptr;
    if (!SysReAllocString(s, chars ? chars : L"")) return false;
    if (wasNull) ++g_live;
    return true;
}

void FreeString(HostString s) noexcept {
    if (!s) return;
    SysFreeString(s);
    --g_live;
}

uint32_t StringByteLen(HostString s) noexcept { return SysStringByteLen(s); }
uint32_t StringLen(HostString s) noexcept { return SysStringLen(s); }

bool ReAllocStringFromAnsi(HostString* s, const char* text) noexcept {
    WCHAR wide[128];
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 128);
    if (n <= 0) {
        ReAllocString(s, L"");
        return false;
    }
    return ReAllocString(s, wide);
}

#else

namespace {

// Block layout: [uint32 byte length][bytes][two NUL bytes].
constexpr std::size_t kPrefix = sizeof(uint32_t);
constexpr std::size_t kTerminator = sizeof(HostChar);
constexpr uint32_t kMaxBytes = 0x7ffffff0u;

unsigned char* BlockOf(HostString s) { return reinterpret_cast<unsigned char*>(s) - kPrefix; }

HostString NewBlock(const void* data, uint32_t bytes) noexcept {
    if (bytes > kMaxBytes) return nullptr;
    auto* block = static_cast<unsigned char*>(std::malloc(kPrefix + bytes + kTerminator));
    if (!block) return nullptr;
    std::memcpy(block, &bytes, kPrefix);
    if (data)
        std::memcpy(block + kPrefix, data, bytes);
    else
        std::memset(block + kPrefix, 0, bytes);
    std::memset(block + kPrefix + bytes, 0, kTerminator);
    ++g_live;
    return reinterpret_cast<HostString>(block + kPrefix);
}

uint32_t CharCount(const HostChar* s) {
    uint32_t n = 0;
    while (s[n] != 0) ++n;
    return n;
}

}  // namespace

HostString AllocStringByteLen(const char* bytes, uint32_t len) noexcept {
    return NewBlock(bytes, len);
}

HostString AllocStringLen(const HostChar* chars, uint32_t len) noexcept {
    if (len > kMaxBytes / sizeof(HostChar)) return nullptr;
    return NewBlock(chars, len * static_cast<uint32_t>(sizeof(HostChar)));
}

bool ReAllocString(HostString* s, const HostChar* chars) noexcept {
    const uint32_t n = chars ? CharCount(chars) : 0;
    static const HostChar kEmpty[1] = {0};
    // The new copy is made before the old string goes, so chars may alias it.
    HostString fresh = AllocStringLen(chars ? chars : kEmpty, n);
    if (!fresh) return false;
    FreeString(*s);
    *s = fresh;
    return true;
}

void FreeString(HostString s) noexcept {
    if (!s) return;
    std::free(BlockOf(s));
    --g_live;
}

uint32_t StringByteLen(HostString s) noexcept {
    if (!s) return 0;
    uint32_t bytes;
    std::memcpy(&bytes, BlockOf(s), kPrefix);
    return bytes;
}

uint32_t StringLen(HostString s) noexcept {
    return StringByteLen(s) / static_cast<uint32_t>(sizeof(HostChar));
}

bool ReAllocStringFromAnsi(HostString* s, const char* text) noexcept {
    HostChar wide[128];
    std::size_t n = 0;
    while (text[n] != '\0' && n + 1 < sizeof wide / sizeof wide[0]) {
        wide[n] = static_cast<unsigned char>(text[n]);
        ++n;
    }
    wide[n] = 0;
    return ReAllocString(s, wide);
}

#endif

long LiveStrings() noexcept { return g_live; }

}  // namespace vt::platform
