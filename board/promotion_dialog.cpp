// "Promote": the piece a pawn becomes when its move reaches the last rank.
#include "board/promotion_dialog.h"

#include <algorithm>

#include <QButtonGroup>
#include <QDialog>
#include <QGuiApplication>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tandemora {
namespace {

struct Choice {
    int id;
    const char* text;
    char piece;
};

const Choice kChoices[] = {
    {1005, "&Queen", 'Q'},
    {1006, "K&night", 'N'},
    {1007, "&Rook", 'R'},
    {1008, "&Bishop", 'B'},
};

// The corner moved as little as needed for the whole chooser to be on the screen.
QPoint onScreen(QPoint corner, QSize size, const QWidget* parent) {
    const QScreen* screen = QGuiApplication::screenAt(corner);
    if (!screen) screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (!screen) return corner;
    const QRect free = screen->availableGeometry();
    return {std::clamp(corner.x(), free.left(), std::max(free.left(), free.right() + 1 - size.width())),
            std::clamp(corner.y(), free.top(), std::max(free.top(), free.bottom() + 1 - size.height()))};
}

}  // namespace

char choosePromotion(QWidget* parent, QPoint topLeftOnScreen) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Promote"));
    dialog.setFixedSize(79, 110);
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(4, 4, 2, 4);  // the names must fit in 79 pixels
    QButtonGroup group;
    for (const Choice& choice : kChoices) {
        auto* button = new QRadioButton(QString::fromLatin1(choice.text));
        button->setObjectName(QString::number(choice.id));
        group.addButton(button, choice.id);
        layout->addWidget(button);
    }
    group.button(kChoices[0].id)->setChecked(true);

    char chosen = 0;
    // Any click decides at once, the already selected queen included.
    QObject::connect(&group, &QButtonGroup::idClicked, &dialog, [&](int id) {
        for (const Choice& choice : kChoices)
            if (choice.id == id) chosen = choice.piece;
        dialog.accept();
    });
    dialog.winId();  // the window's frame is known once it exists
    dialog.move(onScreen(topLeftOnScreen, dialog.frameGeometry().size(), parent));
    dialog.exec();
    return chosen;
}

}  // namespace tandemora
