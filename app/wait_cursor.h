// The wait cursor for as long as a piece of work runs on the window's thread, restored on
// every way out.
#pragma once

#include <QApplication>

namespace tandemora {

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace tandemora
