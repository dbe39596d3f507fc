// How the game model reaches a board: the live position with its rules, plus the few things
// a window adds (caption, repaint, navigation flags, the promotion choice). The board window
// of the program and the window-less board of silent replay both derive from it.
#pragma once

#include <memory>
#include <string>

#include "core/rules.h"

namespace tandemora {

class CGame;

struct NavigationFlags {
    bool canBackGame = false;
    bool canForwardGame = false;
    bool canBackBoard = false;
    bool canForwardBoard = false;
};

class BoardWindow : public RulesHost {
public:
    BoardWindow(CGame& game, bool boardB) : game_(game), boardB_(boardB), rules_(*this) {}
    ~BoardWindow() override = default;

    CGame& game() const { return game_; }
    bool isBoardB() const { return boardB_; }
    // The letter of a move on this board: 'A'/'a' or 'B'/'b'.
    char boardLetter(bool white) const { return boardB_ ? (white ? 'B' : 'b') : (white ? 'A' : 'a'); }
    bool hasLetter(char letter) const {
        return boardB_ ? (letter == 'B' || letter == 'b') : (letter == 'A' || letter == 'a');
    }

    BoardRules& rules() { return rules_; }
    const Board& position() const { return rules_.position; }
    void loadPosition(const Board& board) { rules_.position = board; }
    void storePosition(Board& board) const { board = rules_.position; }

    const std::string& baseTitle() const { return baseTitle_; }
    void setBaseTitle(const std::string& title) { baseTitle_ = title; }
    const NavigationFlags& navigation() const { return navigation_; }
    void setNavigation(const NavigationFlags& flags) {
        navigation_ = flags;
        navigationChanged();
    }
    std::string whiteLabel, blackLabel;  // "name (rating)"
    bool flipped = false;

    // The window side.
    virtual void setTitle(const std::string& title) = 0;
    virtual void repaint() = 0;
    // Paints only the clocks, as every replay step does.
    virtual void repaintClocks() = 0;
    // Lays the window out again, as after a flip or new player names.
    virtual void relayout() = 0;
    virtual void bringToTop() = 0;
    virtual void navigationChanged() = 0;
    virtual bool autoQueen() const = 0;
    // A move is being made: a piece in hand or the promotion chooser open.
    virtual bool moveInProgress() const { return false; }
    // The promotion chooser's answer at the destination square: 'Q', 'R', 'B', 'N', or 0 when closed.
    virtual char askPromotion(int file, int rank, bool white) = 0;

    // RulesHost: the rules reach the game record through here.
    const char* previousBoardSquares() override;
    char choosePromotionPiece(int file, int rank, bool white) override;
    void moveMade(const std::string& notation, bool whiteMoved, int capturedIndex) override;
    void reportIllegalMove(const std::string& text) override;

private:
    CGame& game_;
    bool boardB_;
    BoardRules rules_;
    std::string baseTitle_;
    NavigationFlags navigation_;
};

// Makes the boards of a game: windows in the program, window-less boards for silent replay.
class BoardFactory {
public:
    virtual ~BoardFactory() = default;
    virtual std::unique_ptr<BoardWindow> createBoard(CGame& game, bool boardB) = 0;
};

}  // namespace tandemora
