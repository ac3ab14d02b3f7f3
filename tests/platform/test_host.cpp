// The host side of the platform layer: host strings (layout, lengths,
// reallocation and release) and user-visible messages (to the host's
// callback when it set one, otherwise to standard error on Linux or a
// message box on Windows).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "../support/messages.h"
#include "platform/hoststring.h"
#include "platform/message.h"
#include "vantaro/vantaro.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

using namespace vt::platform;

TEST(HostString, ByteStringsKeepTheirBytesAndAreTerminated) {
    const long before = LiveStrings();
    HostString s = AllocStringByteLen("abc", 3);
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(StringByteLen(s) == 3u && HostStringByteLen(s) == 3u && StringLen(s) == 1u);  // whole 16-bit characters
    const auto* b = reinterpret_cast<const unsigned char*>(s);
    uint32_t prefix = 0;
    std::memcpy(&prefix, b - 4, 4);  // the length sits just before the text
    EXPECT_TRUE(std::memcmp(b, "abc", 3) == 0 && b[3] == 0 && b[4] == 0 && prefix == 3u);
    FreeHostString(s);
    s = AllocStringByteLen(nullptr, 4);  // null data gives zeroed bytes
    ASSERT_TRUE(s && s[0] == 0 && s[1] == 0);
    FreeString(s);
    s = AllocStringByteLen("", 0);
    ASSERT_TRUE(s && StringByteLen(s) == 0u);
    FreeString(s);
    EXPECT_EQ(LiveStrings(), before);
    // Null is the empty string.
    EXPECT_TRUE(StringByteLen(nullptr) == 0u && StringLen(nullptr) == 0u && HostStringByteLen(nullptr) == 0u);
    FreeHostString(nullptr);
    FreeString(nullptr);
}

TEST(HostString, WideStringsReallocationAndAnsiText) {
    const HostChar hello[] = {'h', 'e', 'l', 'l', 'o', 0};
    HostString s = AllocStringLen(hello, 5), t = nullptr;
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(StringLen(s) == 5u && StringByteLen(s) == 10u && s[5] == 0);
    ASSERT_TRUE(ReAllocString(&s, s + 3));  // from the string's own tail
    EXPECT_TRUE(StringLen(s) == 2u && s[0] == 'l' && s[1] == 'o');
    ASSERT_TRUE(ReAllocString(&s, nullptr) && StringLen(s) == 0u);
    ASSERT_TRUE(ReAllocString(&t, hello) && StringLen(t) == 5u);  // from nothing
    ASSERT_TRUE(ReAllocStringFromAnsi(&s, "1.50e-010"));
    EXPECT_TRUE(StringLen(s) == 9u && s[0] == '1' && s[8] == '0' && s[9] == 0);
    FreeString(s);
    FreeString(t);
}

// Without the host's callback (which the workspace tests see in use)
// messages go to standard error, or on Windows to a message box: under the
// test runner's Wine (no display driver) MessageBoxA fails at once; on a
// desktop it would wait for a click.
TEST(Message, WithoutCallbackGoesToTheSystem) {
#if defined(_WIN32)
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (!(ntdll && GetProcAddress(ntdll, "wine_get_version"))) GTEST_SKIP() << "needs a person to click OK";
#endif
    vt::test::Messages r;
    SetMessageCallback(nullptr, &r);
#if defined(_WIN32)
    vt::platform::ShowMessage("no one is listening");
#else
    testing::internal::CaptureStderr();
    vt::platform::ShowMessage("Error Releasing Memory In Flash");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Vantaro: Error Releasing Memory In Flash\n");
#endif
    EXPECT_TRUE(r.texts.empty());
}

}  // namespace
