// How long database work reports itself: the dialogs show messages in message boxes and
// progress in a bar; the command line prints them. The dialogs can also ask the work to stop.
#pragma once

#include <string>

namespace tandemora {

class ProgressReporter {
public:
    virtual ~ProgressReporter() = default;
    // A message the user must see ("Database successfully updated, ...").
    virtual void message(const std::string& text) = 0;
    // Why the work failed or what it had to leave out ("Could not open database for reading.");
    // shown like any message unless the reporter keeps errors apart.
    virtual void error(const std::string& text) { message(text); }
    // A progress range from 0 to `maximum`, at 0.
    virtual void setRange(int maximum) { (void)maximum; }
    virtual void step() {}
    virtual void setPosition(int position) { (void)position; }
    // The file being worked on, or the stage ("Creating white index file...").
    virtual void status(const std::string& text) { (void)text; }
    // Asked between games: true ends the work early, leaving every file whole.
    virtual bool stopRequested() const { return false; }
};

}  // namespace tandemora
