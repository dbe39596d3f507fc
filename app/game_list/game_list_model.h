// The lines of a game list for a list view: made when shown, so a file of many thousands of
// games lists at once.
#pragma once

#include <memory>
#include <vector>

#include <QAbstractListModel>

#include "game/game.h"

namespace tandemora {

class GameListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit GameListModel(const std::vector<std::unique_ptr<CGame>>& games, QObject* parent = nullptr)
        : QAbstractListModel(parent), games_(games) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The games changed: every line is made again.
    void refill();

private:
    const std::vector<std::unique_ptr<CGame>>& games_;
};

}  // namespace tandemora
