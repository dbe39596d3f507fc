// A game-list window: the games of one BPGN file (or of none yet, "Unsaved"), one line each;
// selecting a line opens that game on its boards, and the list writes all its games back.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QWidget>

#include "game/game.h"

class QMdiArea;
class QMdiSubWindow;

namespace tandemora {

class CTandemoraApp;
class GameListModel;
class GameListView;

class CBPGNManager : public QWidget, public GameList {
    Q_OBJECT
public:
    // An empty list "Unsaved" in its own window of the area.
    CBPGNManager(CTandemoraApp& app, QMdiArea& area);
    ~CBPGNManager() override;

    enum class Reading { kAllGames, kStoppedEarly, kNoGames, kCannotOpen };
    // Reads the file's games into the list, up to the first one that cannot be read. Says
    // nothing when no game could be read; the caller decides what to offer.
    Reading openFile(const std::string& path);
    // Reads the games of BPGN text, as pasted, into the list in the same way.
    Reading readGames(std::string text);
    // Writes every game to `path`, or to the list's own file when empty; false on failure,
    // which has been reported, or when the user would rather not drop moves that were never
    // read. The old file is replaced only by a complete one.
    bool saveGames(const std::string& path);
    void addGame(std::unique_ptr<CGame> game, bool refill);
    // Appends the games and fills the list once, even when there are none.
    void addGames(std::vector<std::unique_ptr<CGame>> games);
    // The list holds games imported from the file at `path` (its own file is still "Unsaved"):
    // its title says where they came from.
    void markImportedFrom(const std::string& path);
    // The list holds games pasted from the clipboard, which live nowhere else: closing it before
    // it is saved asks first, as for changed games.
    void markPasted() { pasted_ = true; }
    CGame* selectedGame() const;
    // Closes the list, asking first when a game was changed; false when the user cancelled.
    bool closeWithPrompt(bool removeFromList);
    // The user selected line `index`: opens that game, with the question about the previous one.
    void selectItem(int index);
    // A board window of one of the list's games was closed: its boards go.
    void closeGameBoards(CGame& game);
    // The list becomes the active window, with the keyboard focus.
    void bringToFront();

    // The size inside a window of the size a list opens with, which Cascade gives it.
    QSize sizeHint() const override;
    QMdiSubWindow* subWindow() const { return subWindow_; }
    const std::vector<std::unique_ptr<CGame>>& games() const { return games_; }
    CGame* currentGame() const { return currentGame_; }
    int currentIndex() const { return currentIndex_; }
    // GameList.
    const std::string& path() const override { return fileName_; }
    int gameCount() const override { return static_cast<int>(games_.size()); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void clear();
    void fillList();
    // Puts the list's selection on `index` (-1 for none) without it counting as the user's.
    void showSelection(int index);
    void setTitle(const std::string& title);
    // The list's selected line, or -1.
    int selectedRow() const;
    std::string listTitle(const std::string& ending) const;
    std::string numberedTitle(int index) const;
    // Saving an edited game whose moves were read only in part drops the unread ones: asks
    // whether to save anyway; true when there is no such game or the user agrees.
    bool confirmDroppingUnreadMoves() const;

    CTandemoraApp& app_;
    QMdiSubWindow* subWindow_ = nullptr;
    GameListView* list_ = nullptr;
    GameListModel* model_ = nullptr;
    std::vector<std::unique_ptr<CGame>> games_;
    std::string fileName_ = "Unsaved";
    bool pasted_ = false;
    std::string importedFrom_;  // the name of the file an unsaved list was imported from
    CGame* currentGame_ = nullptr;
    int currentIndex_ = -1;
};

}  // namespace tandemora
