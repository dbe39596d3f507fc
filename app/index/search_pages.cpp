#include "app/index/search_pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/dialog_fields.h"
#include "app/index/result_lines.h"

namespace tandemora {

namespace {

constexpr int kMaxRating = 4000;     // also for minutes and seconds of the time control
constexpr int kMaxClockSeconds = 100000;

template <class Control>
Control* named(Control* control, const char* id) {
    control->setObjectName(QString::fromLatin1(id));
    return control;
}

QLineEdit* textEdit(const char* id) { return named(new QLineEdit, id); }

QLineEdit* numberEdit(const char* id) {
    QLineEdit* edit = named(new QLineEdit(QStringLiteral("0")), id);
    acceptDigitsOnly(*edit);
    edit->setMaximumWidth(70);
    return edit;
}

QCheckBox* checkBox(const char* id, const char* label) { return named(new QCheckBox(QString::fromLatin1(label)), id); }

QComboBox* dropDown(const char* id, std::initializer_list<const char*> entries) {
    QComboBox* box = named(new QComboBox, id);
    for (const char* entry : entries) box->addItem(QString::fromLatin1(entry));
    return box;
}

QLabel* label(const char* text, QWidget* buddy = nullptr) {
    auto* made = new QLabel(QString::fromLatin1(text));
    made->setBuddy(buddy);
    return made;
}

std::string latin1(const QLineEdit* edit) { return edit->text().toLatin1().toStdString(); }

// The page's one group, filling it above a stretch.
QGroupBox* pageGroup(QWidget& page, const char* caption) {
    auto* group = new QGroupBox(QString::fromLatin1(caption));
    auto* layout = new QVBoxLayout(&page);
    layout->addWidget(group);
    layout->addStretch();
    return group;
}

// Label and field on one row of a grid.
void addRow(QGridLayout& grid, const char* text, QWidget* field) {
    const int row = grid.rowCount();
    grid.addWidget(label(text, field), row, 0);
    grid.addWidget(field, row, 1, Qt::AlignLeft);
}

// Takes each number of the fields, in order, refusing the first outside 0 to its maximum.
bool takeNumbers(std::initializer_list<std::tuple<QLineEdit*, int, int*>> fields) {
    for (const auto& [edit, maximum, value] : fields) {
        const std::optional<int> taken = takeInteger(*edit, 0, maximum, false);
        if (!taken) return false;
        *value = *taken;
    }
    return true;
}

}  // namespace

CIndex1Dialog_1::CIndex1Dialog_1(QWidget* parent) : SearchValuesPage(parent) {
    auto* grid = new QGridLayout(pageGroup(*this, "General search parameters:"));
    date_ = textEdit("1087");
    wonOnly_ = checkBox("1045", "Won games only.");
    mateOrResign_ = checkBox("1050", "Checkmate or resignation.");
    timeLimit_ = numberEdit("1046");
    increment_ = numberEdit("1047");
    averageRating_ = numberEdit("1048");
    minimumRating_ = numberEdit("1049");
    addRow(*grid, "Date (MM/DD/YYYY) (>=):", date_);
    grid->addWidget(wonOnly_, grid->rowCount(), 0, 1, 2);
    grid->addWidget(mateOrResign_, grid->rowCount(), 0, 1, 2);
    addRow(*grid, "Time limit, min (>=):", timeLimit_);
    addRow(*grid, "Increment, sec (>=):", increment_);
    addRow(*grid, "Average rating (>=):", averageRating_);
    addRow(*grid, "Minimum rating (>=):", minimumRating_);
}

bool CIndex1Dialog_1::takeValues(SearchPageValues& values) {
    SearchPageValues taken = values;
    if (!takeNumbers({{timeLimit_, kMaxRating, &taken.timeLimit},
                      {increment_, kMaxRating, &taken.increment},
                      {averageRating_, kMaxRating, &taken.averageRating},
                      {minimumRating_, kMaxRating, &taken.minimumRating}}))
        return false;
    taken.dateText = latin1(date_);
    taken.wonOnly = wonOnly_->isChecked();
    taken.mateOrResign = mateOrResign_->isChecked();
    values = std::move(taken);
    return true;
}

CIndex1Dialog15::CIndex1Dialog15(QWidget* parent) : SearchValuesPage(parent) {
    auto* grid = new QGridLayout(pageGroup(*this, "Positional search parameters:"));
    enabled_ = checkBox("1108", "Enable positional search.");
    enabled_->setChecked(true);
    material_ = textEdit("1036");
    upDown_ = dropDown("1100", {"up", "down"});
    seconds_ = numberEdit("1101");
    player1Positional_ = checkBox("1092", "Player 1's handle/rating is used in positional search.");
    whiteIndex_ = named(new QPushButton(QStringLiteral("Load white index")), "1109");
    blackIndex_ = named(new QPushButton(QStringLiteral("Load black index")), "1110");
    addIndex_ = named(new QPushButton(QStringLiteral("Add index...")), "addIndex");

    grid->addWidget(enabled_, 0, 0, 1, 2);
    addRow(*grid, "Offboard material (ex: P N):", material_);
    auto* clock = new QHBoxLayout;
    clock->addWidget(label("Player 1 is", upDown_));
    clock->addWidget(upDown_);
    clock->addWidget(label("at least", seconds_));
    clock->addWidget(seconds_);
    clock->addWidget(label("seconds (Bug only)."));
    clock->addStretch();
    grid->addLayout(clock, grid->rowCount(), 0, 1, 2);
    grid->addWidget(player1Positional_, grid->rowCount(), 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(whiteIndex_);
    buttons->addWidget(blackIndex_);
    buttons->addWidget(addIndex_);
    buttons->addStretch();
    grid->addLayout(buttons, grid->rowCount(), 0, 1, 2);
    connect(enabled_, &QCheckBox::toggled, this, &CIndex1Dialog15::enableControls);
}

void CIndex1Dialog15::enableControls() {
    for (QWidget* control : std::initializer_list<QWidget*>{material_, upDown_, seconds_, player1Positional_})
        control->setEnabled(enabled_->isChecked());
}

bool CIndex1Dialog15::takeValues(SearchPageValues& values) {
    int seconds = 0;
    if (!takeNumbers({{seconds_, kMaxClockSeconds, &seconds}})) return false;
    values.clockSeconds = seconds;
    values.positional = enabled_->isChecked();
    values.materialText = latin1(material_);
    values.upDown = upDown_->currentIndex();
    values.player1Positional = player1Positional_->isChecked();
    return true;
}

CIndex1Dialog_2::CIndex1Dialog_2(QWidget* parent) : SearchValuesPage(parent) {
    auto* grid = new QGridLayout(pageGroup(*this, "Player handles and ratings (>=):"));
    const char* const ids[4][2] = {{"1045", "1046"}, {"1102", "1103"}, {"1104", "1105"}, {"1106", "1107"}};
    const char* const labels[4] = {"Player 1:", "Player 2:", "Player 3:", "Player 4:"};
    for (int player = 0; player < 4; ++player) {
        handles_[player] = textEdit(ids[player][0]);
        ratings_[player] = numberEdit(ids[player][1]);
        grid->addWidget(label(labels[player], handles_[player]), player, 0);
        grid->addWidget(handles_[player], player, 1);
        grid->addWidget(ratings_[player], player, 2);
    }
    teammates_ = checkBox("1091", "Players 1 and 2 must be teammates (Bug only).");
    opponents_ = checkBox("1093", "Players 1 and 3 must be opponents.");
    victoryPlayer_ = dropDown("1110", {"1", "2", "3", "4"});
    grid->addWidget(teammates_, 4, 0, 1, 3);
    grid->addWidget(opponents_, 5, 0, 1, 3);
    auto* victories = new QHBoxLayout;
    victories->addWidget(label("Victories are counted for player", victoryPlayer_));
    victories->addWidget(victoryPlayer_);
    victories->addStretch();
    grid->addLayout(victories, 6, 0, 1, 3);
}

bool CIndex1Dialog_2::takeValues(SearchPageValues& values) {
    std::array<int, 4> ratings{};
    for (int player = 0; player < 4; ++player)
        if (!takeNumbers({{ratings_[player], kMaxRating, &ratings[player]}})) return false;
    values.ratings = ratings;
    for (int player = 0; player < 4; ++player) values.handles[player] = latin1(handles_[player]);
    values.teammates = teammates_->isChecked();
    values.opponents = opponents_->isChecked();
    values.victoryPlayer = victoryPlayer_->currentIndex();
    return true;
}

CIndex1Dialog_3::CIndex1Dialog_3(QWidget* parent) : QWidget(parent) {
    auto* group = new QGroupBox(QString::fromLatin1(kResultCaption));
    results_ = named(new QListWidget, "1050");
    showResultColumns(*results_, *group);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(results_);
    autoSearch_ = checkBox("1112", "Positional auto-search");
    search_ = named(new QPushButton(QStringLiteral("Search")), "1051");
    search_->setDefault(true);
    close_ = named(new QPushButton(QStringLiteral("Close")), "1052");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(autoSearch_);
    buttons->addStretch();
    buttons->addWidget(search_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
}

}  // namespace tandemora
