// VantaroVersion reports the numbers of the header's version macros, skips
// null pointers, and the version string spells the same numbers. (The CTest
// test cli_version checks the command-line host against the project version.)
#include <gtest/gtest.h>

#include <string>

#include "vantaro/vantaro.h"

TEST(Version, ExportMatchesHeaderMacros) {
    int32_t major = -1, minor = -1, patch = -1;
    VantaroVersion(&major, &minor, &patch);
    EXPECT_EQ(major, VANTARO_VERSION_MAJOR);
    EXPECT_EQ(minor, VANTARO_VERSION_MINOR);
    EXPECT_EQ(patch, VANTARO_VERSION_PATCH);
    EXPECT_EQ(std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch),
              VANTARO_VERSION_STRING);
}

TEST(Version, NullPointersAreSkipped) {
    VantaroVersion(nullptr, nullptr, nullptr);
    int32_t minor = -1;
    VantaroVersion(nullptr, &minor, nullptr);
    EXPECT_EQ(minor, VANTARO_VERSION_MINOR);
    int32_t major = -1, patch = -1;
    VantaroVersion(&major, nullptr, &patch);
    EXPECT_EQ(major, VANTARO_VERSION_MAJOR);
    EXPECT_EQ(patch, VANTARO_VERSION_PATCH);
}
