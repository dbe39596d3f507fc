// Answers the program's message boxes while work runs behind a dialog, keeping their texts.
#pragma once

#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace database_dialog_test {

// While it lives, every box titled "Tandemora" is answered: a question with `answer`, a message
// with OK.
class BoxAnswerer {
public:
    explicit BoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Yes) : answer_(answer) {
        timer_.callOnTimeout([this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible() || box->windowTitle() != "Tandemora") return;
            texts.push_back(box->text().toStdString());
            QAbstractButton* button = box->button(answer_);
            if (button) button->click();
            else box->accept();
        });
        timer_.start(5);
    }

    std::vector<std::string> texts;

private:
    QMessageBox::StandardButton answer_;
    QTimer timer_;
};

}  // namespace database_dialog_test
