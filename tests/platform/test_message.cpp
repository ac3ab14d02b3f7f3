// The workspace's user-visible messages: to the host's callback when it set
// one, otherwise to standard error (Linux) or a message box (Windows).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/message.h"
#include "vantaro/vantaro.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

struct Received {
    std::vector<std::string> captions, texts;
    static void Record(const char* caption, const char* text, void* user) {
        static_cast<Received*>(user)->captions.emplace_back(caption);
        static_cast<Received*>(user)->texts.emplace_back(text);
    }
    ~Received() { SetMessageCallback(nullptr, nullptr); }
};

TEST(Message, GoesToTheHostsCallbackWithTheCaption) {
    Received r;
    SetMessageCallback(Received::Record, &r);
    vt::platform::ShowMessage("Error Releasing Memory In Flash");
    ASSERT_EQ(r.texts.size(), 1u);
    EXPECT_EQ(r.captions[0], "Vantaro");
    EXPECT_EQ(r.texts[0], "Error Releasing Memory In Flash");
}

// Once the callback is removed again, messages go to standard error, or on
// Windows to a message box: under the test runner's Wine (no display
// driver) MessageBoxA fails at once; on a desktop it would wait for a click.
TEST(Message, WithoutCallbackGoesToTheSystem) {
#if defined(_WIN32)
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (!(ntdll && GetProcAddress(ntdll, "wine_get_version"))) GTEST_SKIP() << "needs a person to click OK";
#endif
    Received r;
    SetMessageCallback(Received::Record, &r);
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
