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
};

void Record(const char* caption, const char* text, void* user) {
    auto* r = static_cast<Received*>(user);
    r->captions.emplace_back(caption);
    r->texts.emplace_back(text);
}

struct ResetCallback {
    ~ResetCallback() { SetMessageCallback(nullptr, nullptr); }
};

TEST(Message, GoesToTheHostsCallbackWithTheCaption) {
    ResetCallback reset;
    Received r;
    SetMessageCallback(Record, &r);
    vt::platform::ShowMessage("Error Releasing Memory In Flash");
    ASSERT_EQ(r.texts.size(), 1u);
    EXPECT_EQ(r.captions[0], "Vantaro");
    EXPECT_EQ(r.texts[0], "Error Releasing Memory In Flash");
}

#if defined(_WIN32)
bool UnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

TEST(Message, WithoutCallbackOpensAMessageBox) {
    // Under the test runner's Wine (no display driver) MessageBoxA fails at
    // once; on a Windows desktop it would wait for a click.
    if (!UnderWine()) GTEST_SKIP() << "needs a person to click OK";
    ResetCallback reset;
    Received r;
    SetMessageCallback(Record, &r);
    SetMessageCallback(nullptr, &r);  // removed again
    vt::platform::ShowMessage("no one is listening");
    EXPECT_TRUE(r.texts.empty());
}
#else
TEST(Message, WithoutCallbackGoesToStandardError) {
    ResetCallback reset;
    Received r;
    SetMessageCallback(Record, &r);
    SetMessageCallback(nullptr, &r);  // removed again
    testing::internal::CaptureStderr();
    vt::platform::ShowMessage("Error Releasing Memory In Flash");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Vantaro: Error Releasing Memory In Flash\n");
    EXPECT_TRUE(r.texts.empty());
}
#endif

}  // namespace
