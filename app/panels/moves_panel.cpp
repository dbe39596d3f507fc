#include "app/panels/moves_panel.h"

#include <algorithm>

#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "game/game.h"
#include "game/move_list_items.h"

namespace tandemora {

namespace {

constexpr int kMargin = 6;
constexpr int kIndentPixels = 14;  // per variation level
// Dark enough to read on white, and told apart by people who confuse red and green.
const QColor kBoardAColour(0x1d, 0x4f, 0x91);
const QColor kBoardBColour(0xa4, 0x46, 0x0c);
const QColor kClockColour(0x70, 0x70, 0x70);
const QColor kCommentColour(0x2e, 0x6b, 0x2e);

}  // namespace

MovesPanel::MovesPanel(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A scroll bar that came and went would lay the panel out again on a step.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setMouseTracking(true);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

void MovesPanel::showGame(CGame* game) {
    game_ = game;
    clearPieces();
    refresh();
}

void MovesPanel::positionChanged() { refresh(); }

void MovesPanel::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    refresh();
}

bool MovesPanel::upToDate() const { return game_ && built_ && builtRevision_ == game_->treeRevision; }

void MovesPanel::refresh() {
    if (!game_ || !game_->root || !isVisible()) return;
    if (!upToDate()) rebuild();
    highlightCurrent();
}

void MovesPanel::clearPieces() {
    built_ = false;
    pieces_.clear();
    stops_.clear();
    stopOf_.clear();
    currentPiece_ = -1;
    laidOutWidth_ = -1;
    contentHeight_ = 0;
    verticalScrollBar()->setRange(0, 0);
    viewport()->update();
}

void MovesPanel::rebuild() {
    clearPieces();
    boldFont_ = italicFont_ = font();
    boldFont_.setBold(true);
    italicFont_.setItalic(true);
    const bool bughouse = game_->isBughouse();
    GameNode* root = game_->root.get();
    stops_.push_back({root, -1});
    stopOf_[root] = 0;
    int depth = 0;
    const QFontMetrics plain(font()), bold(boldFont_), italic(italicFont_);
    const int space = plain.horizontalAdvance(u' ');
    // Move texts, numbers and clocks repeat all through a game: each is measured once.
    QHash<QString, int> plainWidths, boldWidths;
    auto measured = [](const QFontMetrics& metrics, QHash<QString, int>& widths, const QString& text) {
        auto found = widths.constFind(text);
        if (found == widths.constEnd()) found = widths.insert(text, metrics.horizontalAdvance(text));
        return *found;
    };
    auto add = [&](Piece piece) {
        // A variation starts a line; so does the line it left when it continues.
        piece.lineBefore = piece.lineBefore || (piece.style != Style::kBracket && piece.depth != depth);
        depth = piece.depth;
        piece.bodyWidth = piece.style == Style::kComment ? italic.horizontalAdvance(piece.body)
                                                         : measured(plain, plainWidths, piece.body);
        int width = piece.bodyWidth;
        if (!piece.number.isEmpty()) {
            piece.numberWidth = measured(bold, boldWidths, piece.number);
            width += piece.numberWidth + 2 * space + measured(plain, plainWidths, piece.clock);
        }
        piece.rect.setWidth(width);
        pieces_.push_back(std::move(piece));
    };
    std::string number;
    for (const MoveListItem& item : moveListItems(*root)) {
        GameNode* node = item.node;
        switch (item.kind) {
        case MoveListItem::Kind::kVariationStart: add({Style::kBracket, nullptr, {}, QStringLiteral("("), {}, true, item.depth, {}}); break;
        case MoveListItem::Kind::kVariationEnd: add({Style::kBracket, nullptr, {}, QStringLiteral(")"), {}, false, item.depth, {}}); break;
        case MoveListItem::Kind::kComment:
            for (const QString& word : QString::fromLatin1(*node->comment).split(u' ', Qt::SkipEmptyParts))
                add({Style::kComment, node, {}, word, {}, false, item.depth, {}});
            break;
        case MoveListItem::Kind::kMove:
            number.clear();
            appendMoveNumber(*node, number);
            stopOf_[node] = static_cast<int>(stops_.size());
            stops_.push_back({node, static_cast<int>(pieces_.size())});
            add({bughouse && node->onBoardB() ? Style::kBoardB : Style::kBoardA, node, QString::fromLatin1(number),
                 QString::fromLatin1(node->moveText) + QString::fromLatin1(node->annotation.value_or("")),
                 QString::fromLatin1(clockText(node->clockSeconds)), false, item.depth, {}});
            break;
        }
    }
    built_ = true;
    builtRevision_ = game_->treeRevision;
    layOut();
}

void MovesPanel::layOut() {
    laidOutWidth_ = viewport()->width();
    const int right = laidOutWidth_ - kMargin;
    const int lineHeight = fontMetrics().height();
    const int space = fontMetrics().horizontalAdvance(u' ');
    int x = 0, y = kMargin - lineHeight;
    bool lineStart = true;
    const Piece* previous = nullptr;
    for (Piece& piece : pieces_) {
        const int width = piece.rect.width();
        const int indent = kMargin + piece.depth * kIndentPixels;
        // Words of a comment lie a space apart; moves further.
        const bool words = previous && previous->style == Style::kComment && piece.style == Style::kComment;
        const int gap = lineStart ? 0 : words || piece.style == Style::kBracket ? space : 2 * space;
        if (!previous || piece.lineBefore || (!lineStart && x + gap + width > right)) {
            x = indent;
            y += lineHeight;
        } else {
            x += gap;
        }
        piece.rect = QRect(x, y, width, lineHeight);
        x += width;
        lineStart = piece.style == Style::kBracket && piece.body == u'(';
        previous = &piece;
    }
    contentHeight_ = pieces_.empty() ? 0 : y + lineHeight + kMargin;
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(lineHeight);
    verticalScrollBar()->setRange(0, std::max(0, contentHeight_ - viewport()->height()));
    viewport()->update();
}

void MovesPanel::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (!built_) return;
    if (viewport()->width() != laidOutWidth_) layOut();
    else verticalScrollBar()->setRange(0, std::max(0, contentHeight_ - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
}

QRect MovesPanel::inViewport(const QRect& content) const { return content.translated(0, -verticalScrollBar()->value()); }

QRect MovesPanel::moveRect(const GameNode* node) const {
    const auto found = stopOf_.find(node);
    if (!upToDate() || found == stopOf_.end()) return {};
    const int piece = stops_[static_cast<size_t>(found->second)].piece;
    return piece < 0 ? QRect() : inViewport(pieces_[static_cast<size_t>(piece)].rect);
}

void MovesPanel::highlightCurrent() {
    const auto found = stopOf_.find(game_->current);
    const int now = found == stopOf_.end() ? -1 : stops_[static_cast<size_t>(found->second)].piece;
    if (now != currentPiece_) {
        for (int piece : {currentPiece_, now})
            if (piece >= 0) viewport()->update(inViewport(pieces_[static_cast<size_t>(piece)].rect));
        currentPiece_ = now;
    }
    QScrollBar& scroll = *verticalScrollBar();
    if (now < 0) return scroll.setValue(0);  // the start position, before every move
    // A move out of view comes to the middle: stepping on scrolls once in half a page, and the
    // moves around it show.
    const QRect rect = pieces_[static_cast<size_t>(now)].rect;
    if (rect.top() < scroll.value() || rect.bottom() >= scroll.value() + viewport()->height())
        scroll.setValue(rect.center().y() - viewport()->height() / 2);
}

void MovesPanel::drawPiece(QPainter& painter, const Piece& piece, bool current) const {
    QColor colour = piece.style == Style::kBoardB    ? kBoardBColour
                    : piece.style == Style::kComment ? kCommentColour
                    : piece.style == Style::kBracket ? kClockColour
                    : game_->isBughouse()            ? kBoardAColour
                                                     : palette().color(QPalette::Text);
    if (current) {
        painter.fillRect(piece.rect.adjusted(-2, 0, 2, 0), palette().highlight());
        colour = palette().color(QPalette::HighlightedText);
    }
    const int baseline = piece.rect.top() + fontMetrics().ascent();
    int x = piece.rect.left();
    painter.setPen(colour);
    if (piece.style == Style::kComment) {
        painter.setFont(italicFont_);
        painter.drawText(x, baseline, piece.body);
        return;
    }
    const int space = fontMetrics().horizontalAdvance(u' ');
    if (!piece.number.isEmpty()) {
        painter.setFont(boldFont_);
        painter.drawText(x, baseline, piece.number);
        x += piece.numberWidth + space;
    }
    painter.setFont(font());
    painter.drawText(x, baseline, piece.body);
    if (piece.clock.isEmpty()) return;
    x += piece.bodyWidth + space;
    if (!current) painter.setPen(kClockColour);
    painter.drawText(x, baseline, piece.clock);
}

void MovesPanel::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    if (pieces_.empty()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(viewport()->rect().adjusted(kMargin, kMargin, -kMargin, -kMargin), Qt::AlignLeft | Qt::AlignTop,
                         QStringLiteral("No game is open."));
        return;
    }
    const int top = verticalScrollBar()->value();
    const QRect visible = event->rect().translated(0, top);
    painter.translate(0, -top);
    // Lines go down the content in reading order: only the pieces of the lines in view are drawn.
    auto piece = std::lower_bound(pieces_.begin(), pieces_.end(), visible.top(),
                                  [](const Piece& p, int y) { return p.rect.bottom() < y; });
    for (; piece != pieces_.end() && piece->rect.top() <= visible.bottom(); ++piece)
        if (piece->rect.intersects(visible.adjusted(-2, 0, 2, 0)))
            drawPiece(painter, *piece, piece - pieces_.begin() == currentPiece_);
}

void MovesPanel::scrollContentsBy(int, int dy) { viewport()->scroll(0, dy); }

QString MovesPanel::text() const {
    QString text;
    const Piece* previous = nullptr;
    for (const Piece& piece : pieces_) {
        if (previous) text += previous->rect.top() == piece.rect.top() ? u' ' : u'\n';
        text += piece.number.isEmpty() ? piece.body : piece.number + u' ' + piece.body + u' ' + piece.clock;
        previous = &piece;
    }
    return text;
}

GameNode* MovesPanel::nodeAt(QPoint point) const {
    if (!upToDate()) return nullptr;
    const QPoint inContent = point + QPoint(0, verticalScrollBar()->value());
    const auto piece = std::lower_bound(pieces_.begin(), pieces_.end(), inContent.y(),
                                        [](const Piece& p, int y) { return p.rect.bottom() < y; });
    for (auto it = piece; it != pieces_.end() && it->rect.top() <= inContent.y(); ++it)
        if (it->rect.contains(inContent)) return it->node;
    return nullptr;
}

void MovesPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
    if (GameNode* node = nodeAt(event->position().toPoint())) game_->moveTo(node);
}

void MovesPanel::mouseMoveEvent(QMouseEvent* event) {
    viewport()->setCursor(nodeAt(event->position().toPoint()) ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QAbstractScrollArea::mouseMoveEvent(event);
}

void MovesPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up) return step(-1);
    if (event->key() == Qt::Key_Down) return step(+1);
    QAbstractScrollArea::keyPressEvent(event);
}

void MovesPanel::step(int direction) {
    if (!upToDate()) return;
    const auto found = stopOf_.find(game_->current);
    if (found == stopOf_.end()) return;
    const int next = found->second + direction;
    if (next >= 0 && next < static_cast<int>(stops_.size())) game_->moveTo(stops_[static_cast<size_t>(next)].node);
}

}  // namespace tandemora
