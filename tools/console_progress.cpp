#include "tools/console_progress.h"

namespace tandemora {

void ConsoleProgress::message(const std::string& text) {
    endLine();
    messages_ << text << '\n';
}

void ConsoleProgress::error(const std::string& text) {
    endLine();
    if (!subject_.empty() && text.find(subject_) == std::string::npos) errors_ << subject_ << ": ";
    errors_ << text << '\n';
}

void ConsoleProgress::setRange(int maximum) {
    maximum_ = maximum;
    position_ = 0;
    shownPercent_ = -1;
    draw();
}

void ConsoleProgress::step() {
    ++position_;
    draw();
}

void ConsoleProgress::setPosition(int position) {
    position_ = position;
    draw();
}

void ConsoleProgress::status(const std::string& text) {
    status_ = text;
    shownPercent_ = -1;
    draw();
}

// Redraws the progress line only when the whole percentage changes, so millions of steps
// cost nothing on the terminal.
void ConsoleProgress::draw() {
    if (!showProgress_) return;
    const int percent = maximum_ > 0 ? static_cast<int>(100LL * position_ / maximum_) : 0;
    if (percent == shownPercent_) return;
    shownPercent_ = percent;
    errors_ << '\r' << status_ << (status_.empty() ? "" : " ") << percent << "%\x1b[K" << std::flush;
    lineOpen_ = true;
}

void ConsoleProgress::endLine() {
    if (!lineOpen_) return;
    errors_ << '\n' << std::flush;
    lineOpen_ = false;
}

}  // namespace tandemora
