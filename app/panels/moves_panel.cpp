#include "app/panels/moves_panel.h"

#include <algorithm>

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>

#include "game/game.h"
#include "game/move_list_items.h"

namespace tandemora {

namespace {

constexpr int kIndentPixels = 14;  // per variation level
// Dark enough to read on white, and told apart by people who confuse red and green.
const QColor kBoardAColour(0x1d, 0x4f, 0x91);
const QColor kBoardBColour(0xa4, 0x46, 0x0c);
const QColor kClockColour(0x70, 0x70, 0x70);
const QColor kCommentColour(0x2e, 0x6b, 0x2e);

QTextCharFormat colouredFormat(const QColor& colour) {
    QTextCharFormat format;
    format.setForeground(colour);
    return format;
}

}  // namespace

MovesPanel::MovesPanel(QWidget* parent) : QTextEdit(parent) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setFocusPolicy(Qt::StrongFocus);
    setUndoRedoEnabled(false);
    setPlaceholderText(QStringLiteral("No game is open."));
    viewport()->setMouseTracking(true);
    document()->setDocumentMargin(6);
}

void MovesPanel::showGame(CGame* game) {
    game_ = game;
    clearText();
    refresh();
}

void MovesPanel::positionChanged() { refresh(); }

void MovesPanel::showEvent(QShowEvent* event) {
    QTextEdit::showEvent(event);
    refresh();
}

bool MovesPanel::upToDate() const { return game_ && built_ && builtRevision_ == game_->treeRevision; }

void MovesPanel::refresh() {
    if (!game_ || !game_->root || !isVisible()) return;
    if (!upToDate()) rebuild();
    highlightCurrent();
}

void MovesPanel::clearText() {
    built_ = false;
    spans_.clear();
    order_.clear();
    ordinal_.clear();
    moveRanges_.clear();
    setExtraSelections({});
    document()->clear();
}

void MovesPanel::rebuild() {
    clearText();
    const bool bughouse = game_->isBughouse();
    const QTextCharFormat plain = colouredFormat(palette().color(QPalette::Text));
    const QTextCharFormat boardB = bughouse ? colouredFormat(kBoardBColour) : plain;
    const QTextCharFormat boardA = bughouse ? colouredFormat(kBoardAColour) : plain;
    const QTextCharFormat clock = colouredFormat(kClockColour);
    QTextCharFormat comment = colouredFormat(kCommentColour);
    comment.setFontItalic(true);
    QTextCharFormat number;
    number.setFontWeight(QFont::Bold);

    QTextCursor cursor(document());
    cursor.beginEditBlock();
    int blockDepth = 0;
    auto startBlock = [&](int depth) {
        QTextBlockFormat format;
        format.setLeftMargin(depth * kIndentPixels);
        cursor.insertBlock(format);
        blockDepth = depth;
    };
    auto insert = [&](const QString& text, const QTextCharFormat& format) { cursor.insertText(text, format); };
    GameNode* root = game_->root.get();
    order_.push_back(root);
    moveRanges_.emplace_back(0, 0);
    ordinal_[root] = 0;
    // Within a move no line breaks: its number, move and clock stay together.
    const QChar together(QChar::Nbsp);
    std::string numberText;
    for (const MoveListItem& item : moveListItems(*root)) {
        using Kind = MoveListItem::Kind;
        if (item.kind == Kind::kVariationStart) {
            startBlock(item.depth);
            insert(QStringLiteral("( "), clock);
            continue;
        }
        if (item.kind == Kind::kVariationEnd) {
            insert(QStringLiteral(")"), clock);
            continue;
        }
        if (item.depth != blockDepth) startBlock(item.depth);
        GameNode* node = item.node;
        const int start = cursor.position();
        if (item.kind == Kind::kComment) {
            insert(QString::fromLatin1(*node->comment), comment);
            spans_.push_back({start, cursor.position(), node});
            insert(QStringLiteral(" "), plain);
            continue;
        }
        const QTextCharFormat& board = node->onBoardB() ? boardB : boardA;
        numberText.clear();
        appendMoveNumber(*node, numberText);
        QTextCharFormat numbered = board;
        numbered.merge(number);
        insert(QString::fromLatin1(numberText) + together, numbered);
        insert(QString::fromLatin1(node->moveText) + QString::fromLatin1(node->annotation.value_or("")), board);
        insert(together + QString::fromLatin1(clockText(node->clockSeconds)), clock);
        const int end = cursor.position();
        spans_.push_back({start, end, node});
        ordinal_[node] = static_cast<int>(order_.size());
        order_.push_back(node);
        moveRanges_.emplace_back(start, end);
        insert(QStringLiteral("  "), plain);
    }
    cursor.endEditBlock();
    built_ = true;
    builtRevision_ = game_->treeRevision;
}

std::pair<int, int> MovesPanel::moveRange(const GameNode* node) const {
    const auto found = ordinal_.find(node);
    return found == ordinal_.end() ? std::pair(0, 0) : moveRanges_[static_cast<size_t>(found->second)];
}

void MovesPanel::highlightCurrent() {
    const auto [start, end] = moveRange(game_->current);
    QList<ExtraSelection> selections;
    if (start == end) {
        verticalScrollBar()->setValue(0);  // the start position, before every move
    } else {
        ExtraSelection current;
        current.cursor = QTextCursor(document());
        current.cursor.setPosition(start);
        current.cursor.setPosition(end, QTextCursor::KeepAnchor);
        current.format.setBackground(palette().highlight());
        current.format.setForeground(palette().highlightedText());
        selections.append(current);
        QTextCursor caret(document());
        caret.setPosition(start);
        setTextCursor(caret);
        ensureCursorVisible();
    }
    setExtraSelections(selections);
}

GameNode* MovesPanel::nodeAt(QPoint point) const {
    if (!upToDate()) return nullptr;
    const QPointF inDocument(point.x() + horizontalScrollBar()->value(), point.y() + verticalScrollBar()->value());
    const int position = document()->documentLayout()->hitTest(inDocument, Qt::ExactHit);
    if (position < 0) return nullptr;
    // The last span that starts at or before the position, if the position is inside it.
    const auto after = std::upper_bound(spans_.begin(), spans_.end(), position,
                                        [](int at, const Span& span) { return at < span.start; });
    if (after == spans_.begin()) return nullptr;
    const Span& span = *std::prev(after);
    return position <= span.end ? span.node : nullptr;
}

void MovesPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QTextEdit::mousePressEvent(event);
    if (GameNode* node = nodeAt(event->position().toPoint())) game_->moveTo(node);
}

void MovesPanel::mouseMoveEvent(QMouseEvent* event) {
    viewport()->setCursor(nodeAt(event->position().toPoint()) ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QTextEdit::mouseMoveEvent(event);
}

void MovesPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up) return step(-1);
    if (event->key() == Qt::Key_Down) return step(+1);
    QTextEdit::keyPressEvent(event);
}

void MovesPanel::step(int direction) {
    if (!upToDate()) return;
    const auto found = ordinal_.find(game_->current);
    if (found == ordinal_.end()) return;
    const int next = found->second + direction;
    if (next >= 0 && next < static_cast<int>(order_.size())) game_->moveTo(order_[static_cast<size_t>(next)]);
}

}  // namespace tandemora
