// Test support: records every message the engine shows while it lives.
#pragma once
#include <string>
#include <vector>

#include "vantaro/vantaro.h"

namespace vt::test {

struct Messages {
    std::vector<std::string> captions, texts;
    static void Record(const char* caption, const char* text, void* user) {
        static_cast<Messages*>(user)->captions.emplace_back(caption);
        static_cast<Messages*>(user)->texts.emplace_back(text);
    }
    Messages() { SetMessageCallback(&Messages::Record, this); }
    ~Messages() { SetMessageCallback(nullptr, nullptr); }
};

}  // namespace vt::test
