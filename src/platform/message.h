// User-visible messages. The host may install a callback; without one the
// message goes to a modal box on Windows and to standard error elsewhere.
#pragma once
#include "vantaro/vantaro.h"

namespace vt::platform {

inline constexpr const char* kCaption = "Vantaro";

void SetMessageHandler(VantaroMessageFn fn, void* user) noexcept;
void ShowMessage(const char* text) noexcept;

}  // namespace vt::platform
