// The About box: the program's icon, name and version, and a few words on what it is.
#include "app/dialogs/about_dialog.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>

namespace tandemora {

void showAbout(QWidget* parent) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("About Tandemora"));
    auto* layout = new QGridLayout(&dialog);

    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull()) {
        auto* picture = new QLabel;
        picture->setPixmap(icon.pixmap(32, 32));
        layout->addWidget(picture, 0, 0, 2, 1, Qt::AlignTop);
    }
    layout->addWidget(new QLabel(QStringLiteral("Tandemora 0.2 Beta")), 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("For studying bughouse and crazyhouse games: both boards in one\n"
                                                "move tree, replay at the recorded pace, and position search\n"
                                                "over your own game collections.\n\n"
                                                "Built with Qt %1.")
                                     .arg(QString::fromLatin1(qVersion()))),
                      1, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons, 2, 0, 1, 2);
    dialog.exec();
}

}  // namespace tandemora
