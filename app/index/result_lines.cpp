#include "app/index/result_lines.h"

#include <QApplication>
#include <QGroupBox>
#include <QListWidget>
#include <QPainter>
#include <QStyleOptionGroupBox>
#include <QStyledItemDelegate>

namespace tandemora {

namespace {

// The headings of the numbers after the move, in the order of a line's fields.
const char* const kNumberHeadings[] = {"Games w/ this move:", "Relative frequency:", "Win %:"};

// Where the caption of the group begins, in the coordinates of `widget`.
int captionLeft(const QGroupBox& group, const QWidget& widget) {
    QStyleOptionGroupBox option;
    option.initFrom(&group);
    option.text = group.title();
    option.textAlignment = group.alignment();
    option.subControls = QStyle::SC_GroupBoxLabel;
    const QRect label = group.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &group);
    const QWidget* window = group.window();
    return widget.mapFrom(window, group.mapTo(window, label.topLeft())).x();
}

// The list lies inside the group that bears the caption, so the group outlives this delegate.
class ResultLineDelegate : public QStyledItemDelegate {
public:
    ResultLineDelegate(QListWidget& list, const QGroupBox& caption) : QStyledItemDelegate(&list), caption_(caption) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QStringList fields = item.text.split(u'\t');
        item.text.clear();  // the background and the selection only
        const QStyle* style = item.widget ? item.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

        painter->save();
        painter->setFont(item.font);
        const bool selected = item.state & QStyle::State_Selected;
        painter->setPen(item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, fields[0].trimmed());
        const auto* view = qobject_cast<const QAbstractItemView*>(item.widget);
        const int headingsLeft = view ? captionLeft(caption_, *view->viewport()) : text.left();
        const QString captionText = caption_.title();
        for (qsizetype i = 1; i < fields.size() && i <= 3; ++i) {
            const QString heading = QString::fromLatin1(kNumberHeadings[i - 1]);
            const qsizetype headingEnd = captionText.indexOf(heading) + heading.size();
            const int right = headingsLeft + QFontMetrics(item.font).horizontalAdvance(captionText.left(headingEnd));
            painter->drawText(QRect(text.left(), text.top(), right - text.left(), text.height()),
                              Qt::AlignRight | Qt::AlignVCenter, fields[i].trimmed());
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QFontMetrics(option.font).horizontalAdvance(caption_.title()),
                QStyledItemDelegate::sizeHint(option, index).height()};
    }

private:
    const QGroupBox& caption_;
};

}  // namespace

void showResultColumns(QListWidget& list, const QGroupBox& caption) {
    list.setItemDelegate(new ResultLineDelegate(list, caption));
    list.setUniformItemSizes(true);
    list.setMinimumWidth(QFontMetrics(list.font()).horizontalAdvance(caption.title()) + 40);
}

}  // namespace tandemora
