#include "platform/message.h"

#include <cstdio>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace vt::platform {
namespace {
VantaroMessageFn g_fn = nullptr;
void* g_user = nullptr;
}  // namespace

void SetMessageHandler(VantaroMessageFn fn, void* user) noexcept {
    g_fn = fn;
    g_user = fn ? user : nullptr;
}

void ShowMessage(const char* text) noexcept {
    if (g_fn) {
        g_fn(kCaption, text, g_user);
        return;
    }
#if defined(_WIN32)
    MessageBoxA(nullptr, text, kCaption, MB_OK);
#else
    std::fprintf(stderr, "%s: %s\n", kCaption, text);
#endif
}

}  // namespace vt::platform
