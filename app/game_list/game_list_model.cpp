#include "app/game_list/game_list_model.h"

#include "app/game_list/game_list_line.h"

namespace tandemora {

int GameListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(games_.size());
}

QVariant GameListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= static_cast<int>(games_.size())) return {};
    return QString::fromLatin1(gameListLine(*games_[static_cast<size_t>(index.row())]));
}

void GameListModel::refill() {
    beginResetModel();
    endResetModel();
}

}  // namespace tandemora
