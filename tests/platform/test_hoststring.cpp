// The host-string layer: layout, lengths, reallocation and release.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/hoststring.h"
#include "vantaro/vantaro.h"

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
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s[0] == 0 && s[1] == 0);
    FreeString(s);
    s = AllocStringByteLen("", 0);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(StringByteLen(s), 0u);
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
    ASSERT_TRUE(ReAllocString(&s, nullptr));
    EXPECT_EQ(StringLen(s), 0u);
    ASSERT_TRUE(ReAllocString(&t, hello));  // from nothing
    EXPECT_EQ(StringLen(t), 5u);
    ASSERT_TRUE(ReAllocStringFromAnsi(&s, "1.50e-010"));
    EXPECT_TRUE(StringLen(s) == 9u && s[0] == '1' && s[8] == '0' && s[9] == 0);
    FreeString(s);
    FreeString(t);
}

}  // namespace
