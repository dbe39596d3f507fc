// "Create New BPGN Database": merges every BPGN file of a folder into a new or an existing
// game database; the source files stay as they are.
#pragma once

#include "app/databases/build_dialog.h"

class QLabel;
class QLineEdit;

namespace tandemora {

class CDatabaseDialog : public BuildDialog {
    Q_OBJECT
public:
    explicit CDatabaseDialog(QWidget* parent);

private:
    void chooseDatabase();
    void chooseFolder();
    void create();

    QLineEdit* databaseName_;
    QLineEdit* bpgnFolder_;
    QLabel* status_;
};

}  // namespace tandemora
