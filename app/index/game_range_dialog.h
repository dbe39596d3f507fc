// "Game Range Selection": which of the games behind a result line to open, when there are many.
#pragma once

#include <optional>
#include <utility>

#include <QDialog>

class QLineEdit;

namespace tandemora {

class CGameRangeDialog : public QDialog {
    Q_OBJECT
public:
    // Proposes the games 1 to 20 of `gamesFound`.
    CGameRangeDialog(int gamesFound, QWidget* parent);

    // Show Games: the range must lie within the games found; a first game after the last one
    // passes and opens none.
    void accept() override;
    // The games chosen, counted from 1.
    std::pair<int, int> range() const { return range_; }

private:
    int gamesFound_;
    QLineEdit* first_;
    QLineEdit* last_;
    std::pair<int, int> range_{1, 20};
};

// The first and last game to open; none when cancelled.
std::optional<std::pair<int, int>> askGameRange(QWidget* parent, int gamesFound);

}  // namespace tandemora
