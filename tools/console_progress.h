// Messages of long work on standard output, its errors and its progress (when that is a
// terminal) on standard error.
#pragma once

#include <ostream>
#include <string>

#include "database/progress.h"

namespace tandemora {

class ConsoleProgress : public ProgressReporter {
public:
    ConsoleProgress(std::ostream& messages, std::ostream& errors, bool showProgress)
        : messages_(messages), errors_(errors), showProgress_(showProgress) {}
    ~ConsoleProgress() override { endLine(); }

    // Errors from now on begin with `subject` (a file's name), unless they already name it.
    void setErrorSubject(const std::string& subject) { subject_ = subject; }

    void message(const std::string& text) override;
    void error(const std::string& text) override;
    void setRange(int maximum) override;
    void step() override;
    void setPosition(int position) override;
    void status(const std::string& text) override;

private:
    void draw();
    void endLine();

    std::ostream& messages_;
    std::ostream& errors_;  // and the progress line
    bool showProgress_;
    std::string subject_;
    std::string status_;
    int maximum_ = 0, position_ = 0, shownPercent_ = -1;
    bool lineOpen_ = false;
};

}  // namespace tandemora
