// Help Topics: the user guide, in a window of its own beside the program.
#include "app/dialogs/help_window.h"

#include <QDialog>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace tandemora {

void showHelpTopics(QWidget* parent) {
    // One guide window; it stays open beside the boards while the player reads and tries.
    static QPointer<QDialog> window;
    if (!window) {
        window = new QDialog(parent);
        window->setObjectName(QStringLiteral("HelpTopics"));
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowTitle(QStringLiteral("Tandemora Help"));
        auto* browser = new QTextBrowser(window);
        browser->setSource(QUrl(QStringLiteral("qrc:/help/guide.html")));
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(browser);
        window->resize(640, 600);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace tandemora
