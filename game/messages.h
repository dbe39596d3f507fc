// Where the model's messages go: a message box in the program, standard error elsewhere.
#pragma once

#include <string>

namespace tandemora {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const std::string& text) = 0;
};

// Installs the sink for all later messages; null restores the standard-error sink.
void setMessageSink(MessageSink* sink);

void showMessage(const std::string& text);

// A consistency failure that ordinary input cannot cause: shows the text, ends with exit code 1.
[[noreturn]] void internalError(const std::string& text);

}  // namespace tandemora
