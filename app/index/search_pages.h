// The four pages of an index window: the filters of a search and the result list. Controls
// carry their ids as object names.
#pragma once

#include <string>

#include <QWidget>

#include "database/index_search.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tandemora {

// A page whose values go into the search. Taking them checks every number against its range;
// a number outside it is refused with a message, and nothing is taken.
class SearchValuesPage : public QWidget {
public:
    using QWidget::QWidget;
    virtual bool takeValues(SearchPageValues& values) = 0;
};

// "General search": date, time control, ratings and the kind of result.
class CIndex1Dialog_1 : public SearchValuesPage {
public:
    explicit CIndex1Dialog_1(QWidget* parent = nullptr);
    bool takeValues(SearchPageValues& values) override;

private:
    QLineEdit* date_;
    QCheckBox* wonOnly_;
    QCheckBox* mateOrResign_;
    QLineEdit* timeLimit_;
    QLineEdit* increment_;
    QLineEdit* averageRating_;
    QLineEdit* minimumRating_;
};

// "Positional search": whether to search the position at all, the reserve and the clock, the
// buttons that load and unload the white and black indexes, and the one that adds an index.
class CIndex1Dialog15 : public SearchValuesPage {
public:
    explicit CIndex1Dialog15(QWidget* parent = nullptr);
    bool takeValues(SearchPageValues& values) override;
    QPushButton& sideIndexButton(int colour) const { return colour == 0 ? *whiteIndex_ : *blackIndex_; }
    QPushButton& addIndexButton() const { return *addIndex_; }

private:
    // The page's other controls follow "Enable positional search.".
    void enableControls();

    QCheckBox* enabled_;
    QLineEdit* material_;
    QComboBox* upDown_;
    QLineEdit* seconds_;
    QCheckBox* player1Positional_;
    QPushButton* whiteIndex_;
    QPushButton* blackIndex_;
    QPushButton* addIndex_;
};

// "Players": up to four handles and ratings, how they sit, and whose victories count.
class CIndex1Dialog_2 : public SearchValuesPage {
public:
    explicit CIndex1Dialog_2(QWidget* parent = nullptr);
    bool takeValues(SearchPageValues& values) override;

private:
    QLineEdit* handles_[4];
    QLineEdit* ratings_[4];
    QCheckBox* teammates_;
    QCheckBox* opponents_;
    QComboBox* victoryPlayer_;
};

// "Search": the result lines, auto-search, Search and Close.
class CIndex1Dialog_3 : public QWidget {
public:
    explicit CIndex1Dialog_3(QWidget* parent = nullptr);
    QListWidget& resultList() const { return *results_; }
    QCheckBox& autoSearch() const { return *autoSearch_; }
    QPushButton& searchButton() const { return *search_; }
    QPushButton& closeButton() const { return *close_; }

private:
    QListWidget* results_;
    QCheckBox* autoSearch_;
    QPushButton* search_;
    QPushButton* close_;
};

}  // namespace tandemora
