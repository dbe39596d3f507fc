// "Index Creation Dialog": builds the main, white and black index files of a database for the
// players named, with rating thresholds.
#pragma once

#include <optional>
#include <string>

#include "app/databases/build_dialog.h"

class QComboBox;
class QLineEdit;

namespace tandemora {

struct IndexSettings;

class CIndexCreationDialog : public BuildDialog {
    Q_OBJECT
public:
    explicit CIndexCreationDialog(QWidget* parent);

private:
    void chooseIndex();
    void chooseDatabase();
    void create();
    // The settings the fields give; none when a field was refused (the user was told why).
    std::optional<IndexSettings> settingsFromFields();
    // Whether the index may be written where the settings say; may ask to write over files
    // that are no index files, and then notes the answer in the settings.
    bool targetsAccepted(IndexSettings& settings);

    QLineEdit* indexName_;
    QLineEdit* databaseName_;
    QLineEdit* players_;
    QComboBox* indexType_;
    QLineEdit* playerRating_;
    QLineEdit* averageRating_;
    QLineEdit* minimumRating_;
    // The database chosen with the browse button; its field shows the name alone.
    std::string chosenDatabase_;
};

}  // namespace tandemora
