// The program's message and question boxes.
#include "app/dialogs/message_box.h"

#include <QMessageBox>
#include <QString>

namespace tandemora {
namespace {

const char* const kTitle = "Tandemora";

}  // namespace

void showMessageBox(QWidget* parent, const std::string& text) { showMessageBox(parent, QString::fromLatin1(text)); }

void showMessageBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kTitle), text, QMessageBox::Ok, parent);
    box.exec();
}

Answer askYesNoCancel(QWidget* parent, const std::string& text) { return askYesNoCancel(parent, QString::fromLatin1(text)); }

Answer askYesNoCancel(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(kTitle), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::kYes;
    case QMessageBox::No:
        return Answer::kNo;
    default:
        return Answer::kCancel;
    }
}

bool askYesNo(QWidget* parent, const std::string& text) { return askYesNo(parent, QString::fromLatin1(text)); }

bool askYesNo(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(kTitle), text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace tandemora
