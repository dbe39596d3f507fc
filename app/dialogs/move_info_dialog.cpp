// "Current Move Information" for one game.
#include "app/dialogs/move_info_dialog.h"

#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include "app/dialogs/dialog_fields.h"
#include "game/game.h"

namespace tandemora {
namespace {

QListWidget* moveList(const char* name) {
    auto* list = new QListWidget;
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setMaximumHeight(list->fontMetrics().lineSpacing() * 4 + 2 * list->frameWidth());
    return list;
}

// Lines the program puts in must not look like the user's choice. A list the user is working
// with the keyboard gets its cursor back on the first line, so Enter steps on along the line.
void refill(QListWidget& list, const std::vector<std::string>& lines) {
    const QSignalBlocker blocker(list);
    list.clear();
    for (const std::string& line : lines) list.addItem(QString::fromLatin1(line));
    if (list.hasFocus() && list.count() > 0)
        list.selectionModel()->setCurrentIndex(list.model()->index(0, 0), QItemSelectionModel::NoUpdate);
}

QString latin1(const std::string& text) { return QString::fromLatin1(text); }

std::string latin1(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace

MoveInfoDialog::MoveInfoDialog(CGame& game)
    : game_(game),
      move_(new QLineEdit),
      time_(new QLineEdit),
      annotation_(new QLineEdit),
      comment_(new QPlainTextEdit),
      nextMoves_(moveList("nextMoves")),
      alternatives_(moveList("alternatives")) {
    setWindowTitle(QStringLiteral("Current Move Information"));
    setWindowFlag(Qt::Tool);
    move_->setObjectName(QStringLiteral("move"));
    move_->setReadOnly(true);
    time_->setObjectName(QStringLiteral("time"));
    acceptDigitsOnly(*time_);
    annotation_->setObjectName(QStringLiteral("annotation"));
    comment_->setObjectName(QStringLiteral("comment"));
    // A few lines: the dialog lies below a board and should stay on the screen.
    comment_->setFixedHeight(comment_->fontMetrics().lineSpacing() * 5 + 2 * comment_->frameWidth() + 8);

    auto* current = new QGroupBox(QStringLiteral("Information about current move:"));
    auto* fields = new QFormLayout(current);
    fields->addRow(QStringLiteral("Move:"), move_);
    fields->addRow(QStringLiteral("Time:"), time_);
    fields->addRow(QStringLiteral("Annotation:"), annotation_);
    fields->addRow(QStringLiteral("Comment:"), comment_);

    auto* selection = new QGroupBox(QStringLiteral("Move selection:"));
    // The two lists side by side keep the dialog low enough to fit below a board.
    auto* lists = new QGridLayout(selection);
    lists->addWidget(new QLabel(QStringLiteral("Next move:")), 0, 0);
    lists->addWidget(new QLabel(QStringLiteral("Alternative move:")), 0, 1);
    lists->addWidget(nextMoves_, 1, 0);
    lists->addWidget(alternatives_, 1, 1);

    auto* apply = new QPushButton(QStringLiteral("Apply changes"));
    auto* discard = new QPushButton(QStringLiteral("Discard changes"));
    // Enter in a field must not press a button of this modeless window.
    apply->setAutoDefault(false);
    discard->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(apply);
    buttons->addWidget(discard);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(current);
    layout->addWidget(selection);
    layout->addLayout(buttons);

    connect(apply, &QPushButton::clicked, this, &MoveInfoDialog::applyChanges);
    connect(discard, &QPushButton::clicked, this, &MoveInfoDialog::fill);
    // Only the user's choice moves the game: focus, window activation and refills move the
    // current line as well, and must not step along a line the player is not looking at.
    for (QListWidget* list : {nextMoves_, alternatives_}) {
        connect(list, &QListWidget::clicked, this, [this, list](const QModelIndex& index) { choose(list, index.row()); });
        list->installEventFilter(this);
    }
}

void MoveInfoDialog::choose(const QListWidget* list, int row) {
    const std::vector<int>& numbers = list == nextMoves_ ? nextMoveChildren_ : alternativeIndexes_;
    if (row < 0 || row >= static_cast<int>(numbers.size())) return;
    if (list == nextMoves_) game_.selectChild(numbers[static_cast<size_t>(row)]);
    else game_.selectAlternative(numbers[static_cast<size_t>(row)]);
}

bool MoveInfoDialog::eventFilter(QObject* watched, QEvent* event) {
    auto* list = qobject_cast<QListWidget*>(watched);
    if (list && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            choose(list, list->currentRow());
            return true;
        default: break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void MoveInfoDialog::fill() {
    const MoveInfoContent content = moveInfoContent(game_);
    move_->setText(latin1(content.move));
    time_->setText(latin1(content.time));
    annotation_->setText(latin1(content.annotation));
    comment_->setPlainText(latin1(content.comment));
    time_->setEnabled(content.moveFieldsEnabled);
    annotation_->setEnabled(content.moveFieldsEnabled);
    refill(*nextMoves_, content.nextMoves);
    refill(*alternatives_, content.alternatives);
    nextMoveChildren_ = content.nextMoveChildren;
    alternativeIndexes_ = content.alternativeIndexes;
}

void MoveInfoDialog::placeBelow(const QWidget* window) {
    const QPoint bottomLeft = window->isWindow()
                                  ? window->frameGeometry().topLeft() + QPoint(0, window->frameGeometry().height())
                                  : window->mapToGlobal(QPoint(0, window->height()));
    move(bottomLeft);
}

void MoveInfoDialog::applyChanges() {
    game_.applyMoveInfoEdits({latin1(time_->text()), latin1(annotation_->text()), latin1(comment_->toPlainText())});
}

void MoveInfoDialog::done(int result) {
    QDialog::done(result);
    // The game owns this dialog: let it destroy the dialog once this event is over. A game
    // destroyed meanwhile has destroyed the dialog with it.
    QTimer::singleShot(0, [self = QPointer<MoveInfoDialog>(this)] {
        if (self && self->game_.moveInfoDialog.get() == self.data()) self->game_.moveInfoDialog.reset();
    });
}

}  // namespace tandemora
