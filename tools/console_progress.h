// Messages of long work on standard output, and its progress on standard error when that is a
// terminal.
#pragma once

#include <ostream>
#include <string>

#include "database/progress.h"

namespace tandemora {

class ConsoleProgress : public ProgressReporter {
public:
    ConsoleProgress(std::ostream& messages, std::ostream& progress, bool showProgress)
        : messages_(messages), progress_(progress), showProgress_(showProgress) {}
    ~ConsoleProgress() override { endLine(); }

    void message(const std::string& text) override;
    void setRange(int maximum) override;
    void step() override;
    void setPosition(int position) override;
    void status(const std::string& text) override;

private:
    void draw();
    void endLine();

    std::ostream& messages_;
    std::ostream& progress_;
    bool showProgress_;
    std::string status_;
    int maximum_ = 0, position_ = 0, shownPercent_ = -1;
    bool lineOpen_ = false;
};

}  // namespace tandemora
