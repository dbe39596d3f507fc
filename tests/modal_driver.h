// Driving modal dialogs from the tests: exec() blocks, so actions wait on a timer until their
// dialog is the modal window on top.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>

namespace dialog_test {

// Runs `action` once the dialog titled `title` is the modal window on top. After three seconds
// without it the test fails, and the window on top is rejected so the test cannot hang.
inline void whenModal(const QString& title, std::function<void(QDialog&)> action, int triesLeft = 300) {
    QTimer::singleShot(10, [=] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible() && dialog->windowTitle() == title) return action(*dialog);
        if (triesLeft > 0) return whenModal(title, action, triesLeft - 1);
        ADD_FAILURE() << "no dialog \"" << title.toStdString() << "\"";
        if (dialog) dialog->reject();
    });
}

// Clicks the button whose text, mnemonic left out, is `text`.
inline void click(QWidget& dialog, const QString& text) {
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        if (button->text().remove(u'&') == text) return button->click();
    }
    ADD_FAILURE() << "no button \"" << text.toStdString() << "\"";
}

// The control named `name`; a missing one ends the test program (a dialog left open would hang it).
template <class Control>
Control& control(QWidget& dialog, const char* name) {
    auto* found = dialog.findChild<Control*>(QString::fromLatin1(name));
    if (!found) {
        ADD_FAILURE() << "no control " << name;
        std::abort();
    }
    return *found;
}

// Before pressing a button that may refuse: the refusal's message is kept in `message` and
// answered with OK, then `next` runs on the dialog titled `title`, still open behind it.
inline void whenRefused(std::string& message, const QString& title, std::function<void(QDialog&)> next) {
    whenModal(QStringLiteral("Tandemora"), [&message, title, next](QDialog& box) {
        message = static_cast<QMessageBox&>(box).text().toStdString();
        whenModal(title, next);
        box.accept();
    });
}

}  // namespace dialog_test
