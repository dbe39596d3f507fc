#include "app/main_menus.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "resources/command_texts.h"
#include "resources/toolbar_icons.h"

namespace tandemora {
namespace {

// Every command of the menu bar.
const std::set<int> kMenuCommands = {
    32771, 32772, 32782, 32805, 32806, 32799, 32800, 32830, 57665, 59392, 59393, 32803, 32833, 32844,
    32808, 32809, 32810, 32822, 32817, 32821, 32819, 32820, 32824, 32818, 32816, 32815, 32839, 32838,
    32840, 32841, 32834, 32835, 32836, 32837, 32842, 57650, 57651, 57649, 57667, 57664,
    32880, 32881, 32882, 32883, 32884, 33120,
    kMarkLastMove, kShowCoordinates, kLargeReserveCounts,
    kToggleAnalysisPanel, kEngineOptions,
    kCopyPosition, kCopyGame, kPasteGame, kExportDiagram,
};

struct MenuEntry {
    QString path;  // menu titles joined by '/'
    QAction* action;
};

void collect(const QString& path, const QList<QAction*>& actions, std::vector<MenuEntry>& out) {
    for (QAction* action : actions) {
        if (action->isSeparator()) continue;
        if (QMenu* sub = action->menu())
            collect(path.isEmpty() ? sub->title() : path + '/' + sub->title(), sub->actions(), out);
        else
            out.push_back({path, action});
    }
}

struct MainMenusTest : testing::Test {
    QMainWindow window;
    std::vector<int> calls;
    MainCommands commands = buildMainMenus(window, [this](int id) { calls.push_back(id); });

    std::vector<MenuEntry> menuEntries() {
        std::vector<MenuEntry> entries;
        collect(QString(), window.menuBar()->actions(), entries);
        return entries;
    }
};

TEST_F(MainMenusTest, EveryCommandIsInTheMenusOnceWithItsIdAndTexts) {
    std::multiset<int> seen;
    for (const MenuEntry& entry : menuEntries()) {
        const int id = entry.action->data().toInt();
        seen.insert(id);
        EXPECT_EQ(commands.actions.at(id), entry.action);
        EXPECT_EQ(entry.action->statusTip().toStdString(), commandText(id).prompt) << id;
        if (*commandText(id).tooltip) {
            EXPECT_EQ(entry.action->toolTip().toStdString(), commandText(id).tooltip) << id;
        }
    }
    EXPECT_EQ(seen, (std::multiset<int>(kMenuCommands.begin(), kMenuCommands.end())));
    EXPECT_EQ(commands.actions.size(), kMenuCommands.size());

    QStringList titles;
    for (QAction* top : window.menuBar()->actions()) titles << top->text();
    EXPECT_EQ(titles, QStringList({"&File", "&Edit", "&View", "&Game", "&Databases", "&Options", "&Window", "&Help"}));
}

TEST_F(MainMenusTest, CommandsSitInTheirSubmenusWithTheirTexts) {
    struct Case {
        int id;
        const char* path;
        const char* text;
    };
    const Case cases[] = {
        {kCloseGame, "&File", "&Close\tCtrl+C"},
        {kEnableEventSounds, "&Options/Sounds", "Enable Event Sounds"},
        {kMinimumMoveDelay, "&Options/Clocks/Timings", "Minimum Move Delay"},
        {kAutoClosePreviousGame, "&Options/Games", "Auto-Close Previous Game"},
        {kEngineOptions, "&Options", "E&ngine..."},
        {kToggleAnalysisPanel, "&View", "&Analysis Panel"},
        {kReplaySpeed4, "&Options/Replay", "\xd7&4"},
        {kRestoreLayout2, "&Window/Restore Window Layout", "Restore Layout 2\tCtrl-2"},
        {kSaveDefaultLayout, "&Window/Save Window Layout", "Save as Default Layout"},
        {kAbout, "&Help", "&About Tandemora..."},
    };
    const std::vector<MenuEntry> entries = menuEntries();
    for (const Case& c : cases) {
        const auto found = std::find_if(entries.begin(), entries.end(),
                                        [&](const MenuEntry& e) { return e.action == commands.actions.at(c.id); });
        ASSERT_NE(found, entries.end()) << c.id;
        EXPECT_EQ(found->path, QString::fromLatin1(c.path)) << c.id;
        EXPECT_EQ(found->action->text(), QString::fromLatin1(c.text)) << c.id;
    }
}

TEST_F(MainMenusTest, KeysAreBoundAsDesignedAndCtrlCIsLeftToTheBoards) {
    const std::map<int, QKeySequence> keys = {
        {kNewCrazyhouseGame, QKeySequence("Ctrl+Z")}, {kNewBughouseGame, QKeySequence("Ctrl+B")},
        {kOpenFile, QKeySequence("Ctrl+O")},          {kSave, QKeySequence("Ctrl+S")},
        {kSaveAs, QKeySequence("Ctrl+A")},            {kRestoreDefaultLayout, QKeySequence("Ctrl+0")},
        {kRestoreLayout1, QKeySequence("Ctrl+1")},    {kRestoreLayout2, QKeySequence("Ctrl+2")},
        {kRestoreLayout3, QKeySequence("Ctrl+3")},    {kHelpTopics, QKeySequence("F1")},
        {kCopyPosition, QKeySequence("Ctrl+Shift+C")}, {kCopyGame, QKeySequence("Ctrl+Shift+G")},
        {kPasteGame, QKeySequence("Ctrl+V")},
    };
    for (const auto& [id, action] : commands.actions) {
        const auto key = keys.find(id);
        EXPECT_EQ(action->shortcut(), key == keys.end() ? QKeySequence() : key->second) << id;
    }
    for (QAction* action : window.findChildren<QAction*>())
        EXPECT_NE(action->shortcut(), QKeySequence("Ctrl+C")) << action->text().toStdString();
}

TEST_F(MainMenusTest, CommandsReportTheirIdsAndTogglesAreCheckable) {
    const std::set<int> toggles = {kToggleToolbar,        kToggleStatusBar,    kEnableEventSounds,
                                   kHighResolutionClocks, kAutoClosePreviousGame, kSaveSettingsOnExit,
                                   kAutoApplyDefaultLayout, kReplaySpeed1,      kReplaySpeed2,
                                   kReplaySpeed4,         kReplaySpeed8,       kSkipLongThinks,
                                   kToggleGamePanels,   kMarkLastMove,
                                   kShowCoordinates,      kLargeReserveCounts, kToggleAnalysisPanel};
    std::vector<int> expected;
    for (const auto& [id, action] : commands.actions) {
        EXPECT_EQ(action->isCheckable(), toggles.count(id) == 1) << id;
        EXPECT_TRUE(action->isEnabled()) << id;
        action->trigger();
        if (id != kToggleToolbar && id != kToggleStatusBar) expected.push_back(id);
    }
    EXPECT_EQ(calls, expected);
}

TEST_F(MainMenusTest, BarTogglesShowAndHideTheirBars) {
    window.show();
    QAction* toolbarToggle = commands.actions.at(kToggleToolbar);
    QAction* statusBarToggle = commands.actions.at(kToggleStatusBar);
    EXPECT_TRUE(toolbarToggle->isChecked());
    EXPECT_TRUE(statusBarToggle->isChecked());

    toolbarToggle->trigger();
    statusBarToggle->trigger();
    EXPECT_FALSE(commands.toolbar->isVisible());
    EXPECT_FALSE(window.statusBar()->isVisible());
    EXPECT_FALSE(toolbarToggle->isChecked());

    commands.toolbar->show();  // from the toolbar area's own menu
    EXPECT_TRUE(toolbarToggle->isChecked());
    statusBarToggle->trigger();
    EXPECT_TRUE(window.statusBar()->isVisible());
    EXPECT_TRUE(calls.empty());
}

TEST_F(MainMenusTest, ToolbarAndStatusBarHoldTheirParts) {
    std::vector<int> buttons;
    for (QAction* action : commands.toolbar->actions())
        buttons.push_back(action == commands.contextHelp ? -1 : action->isSeparator() ? 0 : action->data().toInt());
    EXPECT_EQ(buttons, (std::vector<int>{kNewCrazyhouseGame, kNewBughouseGame, 0, kOpenFile, kSave, kSaveAll, 0,
                                         kAbout, -1}));
    EXPECT_EQ(window.toolBarArea(commands.toolbar), Qt::TopToolBarArea);
    EXPECT_EQ(commands.contextHelp->shortcut(), QKeySequence("Shift+F1"));

    QStringList indicators;
    for (QLabel* label : window.statusBar()->findChildren<QLabel*>()) indicators << label->text();
    EXPECT_EQ(indicators, QStringList({"CAP", "NUM", "SCRL"}));
}

// How many pixels of a picture are not transparent.
int inkedPixels(const QIcon& icon, QSize size) {
    const QImage image = icon.pixmap(size).toImage();
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) inked += qAlpha(image.pixel(x, y)) != 0;
    return inked;
}

TEST(ToolbarIcons, EveryButtonHasAPictureInItsSize) {
    const std::pair<std::vector<int>, QSize> groups[] = {
        {{32773, 32774, 32775, 32797, 32776, 32784, 32785, 32786, 32787, 32792, 32802, 32793, 32794}, QSize(20, 21)},
        {{32771, 32772, 32782, 32799, 32830, 57664, kContextHelpPicture}, QSize(16, 15)},
    };
    for (const auto& [ids, size] : groups) {
        for (int id : ids) {
            const QIcon icon = toolbarIcon(id);
            ASSERT_FALSE(icon.isNull()) << id;
            EXPECT_EQ(icon.availableSizes(), QList<QSize>{size}) << id;
            EXPECT_GT(inkedPixels(icon, size), 10) << id;
        }
    }
    EXPECT_TRUE(toolbarIcon(kExit).isNull());
}

}  // namespace
}  // namespace tandemora
