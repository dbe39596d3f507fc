// The event sounds and their dialog, headless: there is no audio output here, so every sound
// must pass silently.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include "app/sounds/event_sound_dialog.h"
#include "app/sounds/event_sounds.h"
#include "tests/app/sounds/wave_bytes.h"
#include "tests/modal_driver.h"

using namespace tandemora;
using namespace dialog_test;
namespace fs = std::filesystem;

namespace {

// A file name beyond Latin-1, as the file system holds it.
const char* const kWideName = "ход é.wav";

class SoundsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("tandemora-sounds-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        const wave_test::Bytes sound = wave_test::shortSound();
        for (const char* name : {"move.wav", "new.wav", kWideName})
            std::ofstream(folder / name, std::ios::binary).write(reinterpret_cast<const char*>(sound.data()),
                                                                   static_cast<std::streamsize>(sound.size()));
        std::ofstream(folder / "noise.wav", std::ios::binary) << "not a sound";
        settings.eventSoundPaths = {path("move.wav"), path("missing.wav")};
        sounds.loadAll(settings);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string path(const char* name) const { return (folder / name).string(); }

    fs::path folder;
    Settings settings;
    EventSounds sounds;
};

TEST_F(SoundsTest, UnreadableFilesLeaveTheirEventsSilentWithoutAWord) {
    std::ofstream(folder / "huge.wav").close();
    fs::resize_file(folder / "huge.wav", 64 * 1024 * 1024 + 1);  // sparse: takes no room
    const struct {
        std::string file;
        bool loaded;
    } cases[] = {{path("move.wav"), true}, {path("noise.wav"), true}, {path("missing.wav"), false},
                 {folder.string(), false}, {"", false}, {"/dev/zero", false}, {path("huge.wav"), false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        settings.eventSoundPaths = {c.file, path("move.wav")};
        sounds.loadAll(settings);
        EXPECT_EQ(sounds.hasSound(0), c.loaded);
        EXPECT_TRUE(sounds.hasSound(1));
        EXPECT_EQ(sounds.reload(1, c.file), c.loaded);
        EXPECT_EQ(sounds.hasSound(1), c.loaded);
    }
}

TEST_F(SoundsTest, PlayingNeverFailsLoudly) {
    settings.eventSoundPaths = {path("move.wav"), path("noise.wav")};
    sounds.loadAll(settings);
    for (const int enabled : {1, 0}) {
        settings.eventSoundsEnabled = enabled;
        sounds.play(0, settings);
        sounds.play(1, settings);  // cuts the first short
    }
    EXPECT_FALSE(sounds.playFile(path("noise.wav")));
    EXPECT_FALSE(sounds.playFile(path("missing.wav")));
    EXPECT_FALSE(sounds.playFile(""));
}

// Drives "Configure event sound": answers the message boxes it shows, keeping their texts, and
// its file dialogs with `fileToChoose`.
class EventSoundDialogTest : public SoundsTest {
protected:
    void configure(const std::function<void(QDialog&)>& steps, const char* button) {
        QTimer answerer;
        QObject::connect(&answerer, &QTimer::timeout, [this] { answerModal(); });
        answerer.start(10);
        whenModal(QStringLiteral("Configure event sound"), [&](QDialog& dialog) {
            steps(dialog);
            click(dialog, button);
        });
        configureEventSounds(nullptr, settings, sounds);
    }

    void answerModal() {
        QWidget* top = QApplication::activeModalWidget();
        if (!top || !top->isVisible()) return;
        if (auto* box = qobject_cast<QMessageBox*>(top)) {
            messages.push_back(box->text().toStdString());
            box->accept();
        } else if (auto* files = qobject_cast<QFileDialog*>(top)) {
            ++fileDialogs;
            filters = files->nameFilters().join(u';').toStdString();
            files->setDirectory(QString::fromStdString(folder.string()));
            // Typed, as a user would: a selection can be lost while the folder is still being read.
            files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QFile::decodeName(fileToChoose));
            static_cast<QDialog*>(files)->accept();
        }
    }

    static void select(QDialog& dialog, int row) { control<QListWidget>(dialog, "events").setCurrentRow(row); }
    static void type(QDialog& dialog, const std::string& text) {
        control<QLineEdit>(dialog, "path").setText(QString::fromStdString(text));
    }
    static std::string field(QDialog& dialog) { return control<QLineEdit>(dialog, "path").text().toStdString(); }

    const char* fileToChoose = "new.wav";
    std::vector<std::string> messages;
    int fileDialogs = 0;
    std::string filters;  // of the last file dialog
};

TEST_F(EventSoundDialogTest, ShowsEachEventsOwnCopyOfItsPath) {
    configure(
        [&](QDialog& dialog) {
            auto& events = control<QListWidget>(dialog, "events");
            ASSERT_EQ(events.count(), 2);
            EXPECT_EQ(events.item(0)->text(), "1. Playing board move");
            EXPECT_EQ(events.item(1)->text(), "2. Playing board game over");
            const auto* group = qobject_cast<QGroupBox*>(events.parentWidget());
            ASSERT_NE(group, nullptr);
            EXPECT_EQ(group->title(), "Events:");
            EXPECT_TRUE(events.selectedItems().isEmpty());
            EXPECT_EQ(field(dialog), "");

            select(dialog, 1);
            EXPECT_EQ(field(dialog), path("missing.wav"));
            type(dialog, path("new.wav"));
            click(dialog, "Apply");
            select(dialog, 0);
            EXPECT_EQ(field(dialog), path("move.wav"));
            select(dialog, 1);
            EXPECT_EQ(field(dialog), path("new.wav"));
        },
        "Cancel");
    EXPECT_EQ(settings.eventSoundPaths, (std::array{path("move.wav"), path("missing.wav")}));
    EXPECT_FALSE(sounds.hasSound(1));
}

TEST_F(EventSoundDialogTest, StoresAndReadsOnlyTheChangedPathsOnOk) {
    using Paths = std::array<std::string, 2>;
    const auto apply = [&](int row, const std::string& text) {
        return [=](QDialog& dialog) {
            select(dialog, row);
            type(dialog, text);
            click(dialog, "Apply");
        };
    };
    const struct {
        const char* name;
        std::function<void(QDialog&)> steps;
        const char* button;
        Paths paths;
        std::array<bool, 2> loaded;
        std::vector<std::string> messages;
        int fileDialogs;
    } cases[] = {
        {"no line selected: Browse and Apply do nothing, Play still plays",
         [&](QDialog& dialog) {
             type(dialog, path("new.wav"));
             click(dialog, "Apply");
             click(dialog, "Browse");
             type(dialog, path("missing.wav"));
             click(dialog, "Play");
         },
         "OK", {path("move.wav"), path("missing.wav")}, {true, false}, {"Could not play sound."}, 0},
        {"Apply then OK", apply(1, path("new.wav")), "OK", {path("move.wav"), path("new.wav")}, {true, true}, {}, 0},
        {"Browse fills the field and the event",
         [&](QDialog& dialog) {
             select(dialog, 1);
             click(dialog, "Browse");
             EXPECT_EQ(filters, "Wave Files (*.wav)");
             EXPECT_EQ(field(dialog), path("new.wav"));
         },
         "OK", {path("move.wav"), path("new.wav")}, {true, true}, {}, 1},
        {"Browse to a name beyond Latin-1: stored as the file system's bytes, shown as chosen",
         [&](QDialog& dialog) {
             fileToChoose = kWideName;
             select(dialog, 1);
             click(dialog, "Browse");
             select(dialog, 0);
             select(dialog, 1);
             EXPECT_EQ(field(dialog), path(kWideName));
         },
         "OK", {path("move.wav"), path(kWideName)}, {true, true}, {}, 1},
        {"a typed name beyond Latin-1", apply(1, path(kWideName)), "OK", {path("move.wav"), path(kWideName)},
         {true, true}, {}, 0},
        {"a typed path needs Apply",
         [&](QDialog& dialog) {
             select(dialog, 1);
             type(dialog, path("new.wav"));
         },
         "OK", {path("move.wav"), path("missing.wav")}, {true, false}, {}, 0},
        {"the same path again reads nothing",
         [&](QDialog& dialog) {
             fs::remove(folder / "move.wav");
             apply(0, path("move.wav"))(dialog);
         },
         "OK", {path("move.wav"), path("missing.wav")}, {true, false}, {}, 0},
        {"a cleared path", apply(0, ""), "OK", {"", path("missing.wav")}, {false, false}, {"Could not read file: "}, 0},
        {"an unreadable new file keeps its path", apply(0, path("gone.wav")), "OK",
         {path("gone.wav"), path("missing.wav")}, {false, false}, {"Could not read file: " + path("gone.wav")}, 0},
        {"Cancel", apply(1, path("new.wav")), "Cancel", {path("move.wav"), path("missing.wav")}, {true, false}, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        messages.clear();
        fileDialogs = 0;
        fileToChoose = "new.wav";
        configure(c.steps, c.button);
        EXPECT_EQ(settings.eventSoundPaths, c.paths);
        EXPECT_EQ(sounds.hasSound(0), c.loaded[0]);
        EXPECT_EQ(sounds.hasSound(1), c.loaded[1]);
        EXPECT_EQ(messages, c.messages);
        EXPECT_EQ(fileDialogs, c.fileDialogs);
    }
}

}  // namespace
