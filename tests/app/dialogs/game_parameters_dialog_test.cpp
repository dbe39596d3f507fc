#include "app/dialogs/game_parameters_dialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>

#include "tests/modal_driver.h"
#include "tests/game/test_games.h"

using namespace dialog_test;
using namespace tandemora_test;

namespace {

const QString kTitle = QStringLiteral("Game Parameters");

void type(QDialog& dialog, const char* name, const char* text) {
    control<QLineEdit>(dialog, name).setText(QString::fromLatin1(text));
}

TEST(GameParametersDialog, OkStoresTheFieldsAndRelabelsTheBoards) {
    for (Variant variant : {kCrazyhouse, kBughouse}) {
        auto game = newGame(variant);
        game->WhiteB = "untouched";
        game->WhiteBElo = 1234;
        bool boardTwoEnabled = false;
        QString boardTwoName;
        whenModal(kTitle, [&](QDialog& dialog) {
            boardTwoEnabled = control<QLineEdit>(dialog, "whiteBElo").isEnabled();
            boardTwoName = control<QLineEdit>(dialog, "whiteB").text();
            type(dialog, "event", variant == kBughouse ? "Bughouse league" : "crazyhouse blitz");
            type(dialog, "whiteA", "alice");
            type(dialog, "whiteAElo", "");
            type(dialog, "blackAElo", "1500");
            type(dialog, "whiteB", "carol");
            type(dialog, "whiteBElo", "2100");
            type(dialog, "baseSeconds", "120");
            type(dialog, "incrementSeconds", "2");
            type(dialog, "resultDescription", "White\nresigns}");
            click(dialog, "OK");
        });
        editGameParameters(*game, nullptr);

        EXPECT_TRUE(game->modified);
        EXPECT_EQ(game->Event, variant == kBughouse ? "Bughouse league" : "crazyhouse blitz");
        EXPECT_EQ(game->WhiteA, "alice");
        EXPECT_EQ(game->WhiteAElo, 0);
        EXPECT_EQ(game->boardA->whiteLabel, "alice (++++)");
        EXPECT_EQ(game->boardA->blackLabel, "BLACK (1500)");
        EXPECT_EQ(game->baseSeconds, 120);
        EXPECT_EQ(game->incrementSeconds, 2);
        EXPECT_EQ(game->resultDescription, "White resigns");
        if (variant == kCrazyhouse) {
            EXPECT_FALSE(boardTwoEnabled);
            EXPECT_EQ(boardTwoName, "");
            EXPECT_EQ(game->WhiteB, "untouched");
            EXPECT_EQ(game->WhiteBElo, 1234);
        } else {
            EXPECT_TRUE(boardTwoEnabled);
            EXPECT_EQ(boardTwoName, "untouched");
            EXPECT_EQ(game->boardB->whiteLabel, "carol (2100)");
        }
    }
}

TEST(GameParametersDialog, RefusedFieldKeepsTheDialogOpenAndCancelChangesNothing) {
    const struct {
        Variant variant;
        const char* field;
        const char* text;
        const char* messageStart;
    } cases[] = {
        {kCrazyhouse, "baseSeconds", "", "Please enter a positive integer."},
        {kBughouse, "incrementSeconds", "", "Please enter a positive integer."},
        {kCrazyhouse, "event", "Blitz night", "The event name must contain the word crazyhouse"},
        {kCrazyhouse, "event", "Bughouse night", "The event name must contain the word crazyhouse"},
        {kBughouse, "event", "Crazyhouse night", "The event name must contain the word bughouse"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " \"" + c.text + "\"");
        auto game = newGame(c.variant);
        const std::string event = game->Event;
        std::string message;
        QString focused;
        whenModal(kTitle, [&](QDialog& dialog) {
            type(dialog, "whiteA", "alice");
            type(dialog, c.field, c.text);
            whenRefused(message, kTitle, [&](QDialog& stillOpen) {
                focused = stillOpen.focusWidget() ? stillOpen.focusWidget()->objectName() : QString();
                click(stillOpen, "Cancel");
            });
            click(dialog, "OK");
        });
        editGameParameters(*game, nullptr);

        EXPECT_EQ(message.rfind(c.messageStart, 0), 0u) << message;
        EXPECT_EQ(focused, QString::fromLatin1(c.field));
        EXPECT_FALSE(game->modified);
        EXPECT_EQ(game->WhiteA, "WHITE");
        EXPECT_EQ(game->Event, event);
    }
}

}  // namespace
