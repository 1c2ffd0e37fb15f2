#pragma once

#include "store/QuestionStore.h"
#include "store/ShowNextQuestion.h"

#include <QLockFile>
#include <QPointer>
#include <QWidget>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QuizWindow;

// The menu screen: the range of the drill, the option, the progress reset, the launch and quitting. It is created
// once at start-up and lives until the program ends; during a drill it is only hidden.
class MenuWindow : public QWidget, public store::QuestionDisplay
{
    Q_OBJECT

public:
    struct Options
    {
        // Where the lock file that keeps a second copy of the program from running lives; empty for the usual place.
        QString lockFilePath;
    };

    explicit MenuWindow(store::QuestionStore& store);
    MenuWindow(store::QuestionStore& store, Options options);
    ~MenuWindow() override;

    static QString defaultLockFilePath();

    // Start-up checks. Returns false when the program has been ended.
    bool startUp();

    void startDrill();
    void clearRecord();
    void quit();
    // Clears 直近 in every row. Throws store::StoreError when the file cannot be written.
    void clearRecentFlags();

    void leavePartSelector();
    void leaveChapterSelector();
    void leaveSectionSelector();
    void fillChapterList(const QString& part);
    void fillSectionList(const QString& part, const QString& chapter);

    // Greys the close command of a window's title bar, or gives it back.
    static void gfnEnableCloseButton(QWidget* form, bool enabled);
    void main() {}

    // "残り n 問 / 全 m 問" for the range and option now chosen; empty when the file cannot be read.
    QString remainingText();

    // The value of the option box: 0 unticked, 1 ticked, 2 greyed.
    int excludeSeenValue() const;
    QComboBox* partSelector() const { return m_partSelector; }
    QComboBox* chapterSelector() const { return m_chapterSelector; }
    QComboBox* sectionSelector() const { return m_sectionSelector; }
    QPushButton* startButton() const { return m_startButton; }

    // The quiz screen, loaded when it is not.
    QuizWindow& quiz();
    // The quiz screen if it is loaded, else null.
    QuizWindow* loadedQuiz() const;

    // Lets go of the lock and the file when the program ends.
    void releaseResources();

    // store::QuestionDisplay
    void renderQuestion(const store::Question& question) override;
    void showQuestion() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // confirmClose: `userClosed` is true when the learner closed the window (reason code 0).
    bool confirmClose(bool userClosed);
    void buildControls();

    store::QuestionStore& m_store;
    Options m_options;
    std::unique_ptr<QLockFile> m_instanceLock;
    QPointer<QuizWindow> m_quiz;

    QLabel* m_titleLabel = nullptr;
    QLabel* m_blankLabel = nullptr;
    QGroupBox* m_rangeFrame = nullptr;
    QGroupBox* m_optionFrame = nullptr;
    QComboBox* m_partSelector = nullptr;
    QComboBox* m_chapterSelector = nullptr;
    QComboBox* m_sectionSelector = nullptr;
    QCheckBox* m_excludeSeenBox = nullptr;
    QPushButton* m_startButton = nullptr;
    QPushButton* m_clearRecordButton = nullptr;
    QPushButton* m_quitButton = nullptr;
};
