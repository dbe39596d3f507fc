#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>

#include "app/dialogs/about_dialog.h"
#include "app/dialogs/help_window.h"
#include "app/dialogs/message_box.h"
#include "app/dialogs/nearby_games_dialog.h"
#include "app/dialogs/numeric_value_dialog.h"
#include "tests/modal_driver.h"

using namespace dialog_test;
using namespace tandemora;

namespace {

// What to type into a dialog's edits, and the button to press then.
struct Entry {
    std::vector<std::pair<const char*, const char*>> typed;
    const char* button;
    bool refused;
};

// Runs `open`, which opens the dialog titled `title`, and enters `entry`; returns the message of
// a refusal, after which the dialog, still open, is cancelled.
std::string enter(const QString& title, const Entry& entry, const std::function<void()>& open) {
    std::string message;
    whenModal(title, [&](QDialog& dialog) {
        for (const auto& [name, text] : entry.typed) control<QLineEdit>(dialog, name).setText(text);
        if (entry.refused) whenRefused(message, title, [](QDialog& stillOpen) { click(stillOpen, "Cancel"); });
        click(dialog, entry.button);
    });
    open();
    return message;
}

TEST(NumericValueDialog, AcceptsOnlyAnIntegerInItsRange) {
    const char* const integer = "Please enter an integer.";
    const char* const range = "Please enter an integer between 0 and 60000.";
    const struct {
        Entry entry;
        std::optional<int> value;
        const char* refusal;
    } cases[] = {
        {{{}, "OK", false}, 250, ""},
        {{{{"value", "+5"}}, "OK", false}, 5, ""},
        {{{{"value", "60000"}}, "OK", false}, 60000, ""},
        {{{{"value", "12"}}, "Cancel", false}, std::nullopt, ""},
        {{{{"value", ""}}, "OK", true}, std::nullopt, integer},
        {{{{"value", "-"}}, "OK", true}, std::nullopt, integer},
        {{{{"value", "-5"}}, "OK", true}, std::nullopt, range},
        {{{{"value", "60001"}}, "OK", true}, std::nullopt, range},
        {{{{"value", "99999999999"}}, "OK", true}, std::nullopt, range},
    };
    for (const auto& c : cases) {
        std::optional<int> value;
        const std::string message = enter(QStringLiteral("Enter Numeric Value"), c.entry, [&] {
            value = enterNumericValue(nullptr, QStringLiteral("Minimum delay between moves during replay (ms):"), 250,
                                      0, 60000);
        });
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(message, c.refusal);
    }
}

TEST(NearbyGamesDialog, AcceptsTwoNonNegativeIntegers) {
    using Counts = std::optional<std::pair<int, int>>;
    const struct {
        Entry entry;
        Counts counts;
    } cases[] = {
        {{{}, "Retreive", false}, std::pair(10, 10)},
        {{{{"before", "0"}, {"after", "25"}}, "Retreive", false}, std::pair(0, 25)},
        {{{}, "Cancel", false}, std::nullopt},
        {{{{"before", ""}}, "Retreive", true}, std::nullopt},
        {{{{"after", "-1"}}, "Retreive", true}, std::nullopt},
    };
    for (const auto& c : cases) {
        Counts counts;
        const std::string message =
            enter(QStringLiteral("Retreive Nearby Games"), c.entry, [&] { counts = askNearbyGames(nullptr, 10, 10); });
        EXPECT_EQ(counts, c.counts);
        EXPECT_EQ(message, c.entry.refused ? "Please enter a positive integer." : "");
    }
}

TEST(MessageBoxes, QuestionsAnswerWithTheButtonPressed) {
    const struct {
        const char* button;  // none: Escape
        Answer answer;
    } cases[] = {{"Yes", Answer::kYes}, {"No", Answer::kNo}, {"Cancel", Answer::kCancel}, {nullptr, Answer::kCancel}};
    for (const auto& c : cases) {
        QString text;
        whenModal(QStringLiteral("Tandemora"), [&](QDialog& box) {
            text = static_cast<QMessageBox&>(box).text();
            if (c.button) click(box, c.button);
            else QTest::keyClick(&box, Qt::Key_Escape);
        });
        EXPECT_EQ(askYesNoCancel(nullptr, "Close previous game?"), c.answer);
        EXPECT_EQ(text, "Close previous game?");
    }
}

TEST(AboutDialog, ShowsTheVersionUntilOk) {
    bool versionShown = false;
    whenModal(QStringLiteral("About Tandemora"), [&](QDialog& dialog) {
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            versionShown = versionShown || label->text() == "Tandemora 0.2 Beta";
        click(dialog, "OK");
    });
    showAbout(nullptr);
    EXPECT_TRUE(versionShown);
}

TEST(HelpTopics, OneGuideWindowWhoseContentsLeadToItsSections) {
    showHelpTopics(nullptr);
    showHelpTopics(nullptr);
    const auto windows = QApplication::topLevelWidgets();
    const auto guides = std::count_if(windows.begin(), windows.end(), [](const QWidget* w) {
        return w->objectName() == "HelpTopics" && w->isVisible();
    });
    EXPECT_EQ(guides, 1);
    QWidget* guide = *std::find_if(windows.begin(), windows.end(), [](const QWidget* w) { return w->objectName() == "HelpTopics"; });
    const QTextDocument& text = *guide->findChild<QTextBrowser*>()->document();
    EXPECT_EQ(text.metaInformation(QTextDocument::DocumentTitle), "Tandemora user guide");
    // Every entry of the contents names a section that is there.
    const QString html = text.toHtml();
    static const QRegularExpression link(QStringLiteral("href=\"#([a-z]+)\""));
    int links = 0;
    for (auto match = link.globalMatch(html); match.hasNext(); ++links) {
        const QString name = match.next().captured(1);
        EXPECT_TRUE(html.contains("name=\"" + name + "\"")) << name.toStdString();
    }
    EXPECT_GE(links, 8);
    guide->close();
}

}  // namespace
