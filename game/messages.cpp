#include "game/messages.h"

#include <cstdio>
#include <cstdlib>

namespace tandemora {

namespace {

class StandardErrorSink : public MessageSink {
public:
    void showMessage(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
};

StandardErrorSink standardErrorSink;
MessageSink* currentSink = &standardErrorSink;

}  // namespace

void setMessageSink(MessageSink* sink) { currentSink = sink ? sink : &standardErrorSink; }

void showMessage(const std::string& text) { currentSink->showMessage(text); }

void internalError(const std::string& text) {
    currentSink->showMessage(text);
    std::exit(1);
}

}  // namespace tandemora
