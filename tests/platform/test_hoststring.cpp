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
    EXPECT_EQ(StringByteLen(s), 3u);
    EXPECT_EQ(HostStringByteLen(s), 3u);
    EXPECT_EQ(StringLen(s), 1u);  // whole 16-bit characters
    const auto* b = reinterpret_cast<const unsigned char*>(s);
    EXPECT_EQ(std::memcmp(b, "abc", 3), 0);
    EXPECT_EQ(b[3], 0);
    EXPECT_EQ(b[4], 0);
    uint32_t prefix = 0;
    std::memcpy(&prefix, b - 4, 4);  // the length sits just before the text
    EXPECT_EQ(prefix, 3u);
    FreeHostString(s);
    // Null data gives zeroed bytes; zero length an empty string.
    s = AllocStringByteLen(nullptr, 4);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s[0], 0);
    EXPECT_EQ(s[1], 0);
    FreeString(s);
    s = AllocStringByteLen("", 0);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(StringByteLen(s), 0u);
    FreeString(s);
    EXPECT_EQ(LiveStrings(), before);
}

TEST(HostString, WideStringsAndReallocation) {
    const HostChar hello[] = {'h', 'e', 'l', 'l', 'o', 0};
    HostString s = AllocStringLen(hello, 5);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(StringLen(s), 5u);
    EXPECT_EQ(StringByteLen(s), 10u);
    EXPECT_EQ(s[5], 0);
    // Reallocating from the string's own tail is safe.
    ASSERT_TRUE(ReAllocString(&s, s + 3));
    EXPECT_EQ(StringLen(s), 2u);
    EXPECT_EQ(s[0], 'l');
    EXPECT_EQ(s[1], 'o');
    ASSERT_TRUE(ReAllocString(&s, nullptr));
    EXPECT_EQ(StringLen(s), 0u);
    FreeString(s);
    // From nothing.
    HostString t = nullptr;
    ASSERT_TRUE(ReAllocString(&t, hello));
    EXPECT_EQ(StringLen(t), 5u);
    FreeString(t);
}

TEST(HostString, NullIsTheEmptyString) {
    EXPECT_EQ(StringByteLen(nullptr), 0u);
    EXPECT_EQ(StringLen(nullptr), 0u);
    EXPECT_EQ(HostStringByteLen(nullptr), 0u);
    FreeHostString(nullptr);
    FreeString(nullptr);
}

TEST(HostString, AnsiTextIsWidened) {
    HostString s = nullptr;
    ASSERT_TRUE(ReAllocStringFromAnsi(&s, "1.50e-010"));
    EXPECT_EQ(StringLen(s), 9u);
    EXPECT_EQ(s[0], '1');
    EXPECT_EQ(s[8], '0');
    EXPECT_EQ(s[9], 0);
    FreeString(s);
}

}  // namespace
