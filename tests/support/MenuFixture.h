#pragma once

#include "Fixture.h"
#include "SeamRecorder.h"
#include "app/MenuWindow.h"
#include "store/QuestionStore.h"

#include <memory>

class QWidget;

namespace fixture {

// The program as a test sees it: a temporary folder holding a question file, the store, the menu screen with its
// own lock file, and the recorder that answers message boxes. The question file is written before the menu loads.
class MenuFixture
{
public:
    explicit MenuFixture(const QList<store::Question>& questions = sampleQuestions(),
                         const QList<store::ContentsEntry>& contents = sampleContents());
    ~MenuFixture();

    // Runs the menu's start-up and shows it as the program does. Returns what Form_Load returned.
    bool load();
    // A second program on the same folder and lock file (a fresh store and menu), not loaded yet.
    std::unique_ptr<MenuWindow> secondMenu(store::QuestionStore& store) const;

    QString database() const { return folder.database(); }
    QString lockFile() const { return folder.file(QStringLiteral("instance.lock")); }

    // Chooses a range as the learner does: part, leave, chapter, leave, section. Empty texts pick nothing.
    void choose(const QString& part, const QString& chapter = {}, const QString& section = {});

    // Picks an item of a selector as the learner would, then moves the focus on as leaving it does.
    static void pick(QWidget* combo, const QString& text);

    TempFolder folder;
    SeamRecorder seam;
    store::QuestionStore store;
    std::unique_ptr<MenuWindow> menu;
};

// Closes a window as the learner does with its close box: the window system's close, delivered to the window.
void userCloses(QWidget* window);

// Sends a real Tab press to whatever has the focus in the window.
void pressTab(QWidget* window);

} // namespace fixture
