// Collects the messages the program shows while it lives, for tests to check.
#pragma once

#include <string>
#include <vector>

#include "game/messages.h"

namespace tandemora_test {

class MessageLog : public tandemora::MessageSink {
public:
    MessageLog() { tandemora::setMessageSink(this); }
    ~MessageLog() override { tandemora::setMessageSink(nullptr); }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

}  // namespace tandemora_test
