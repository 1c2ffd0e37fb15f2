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
class Form1;

// The menu screen: the range of the drill, the option, the progress reset, the launch and quitting. It is created
// once at start-up and lives until the program ends; during a drill it is only hidden.
class start_gamen : public QWidget, public store::QuestionDisplay
{
    Q_OBJECT

public:
    struct Options
    {
        // Where the lock file that keeps a second copy of the program from running lives; empty for the usual place.
        QString lockFilePath;
    };

    explicit start_gamen(store::QuestionStore& store);
    start_gamen(store::QuestionStore& store, Options options);
    ~start_gamen() override;

    static QString defaultLockFilePath();

    // Start-up checks. Returns false when the program has been ended.
    bool Form_Load();

    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    // Clears 直近 in every row. Throws store::StoreError when the file cannot be written.
    void 直近初期化();

    void Combo1_LostFocus();
    void Combo2_LostFocus();
    void Combo3_LostFocus();
    void 章一覧設定(const QString& part);
    void 節一覧設定(const QString& part, const QString& chapter);

    // Greys the close command of a window's title bar, or gives it back.
    static void gfnEnableCloseButton(QWidget* form, bool enabled);
    void main() {}

    // "残り n 問 / 全 m 問" for the range and option now chosen; empty when the file cannot be read.
    QString remainingText();

    // The value of the option box: 0 unticked, 1 ticked, 2 greyed.
    int check1Value() const;
    QComboBox* combo1() const { return m_combo1; }
    QComboBox* combo2() const { return m_combo2; }
    QComboBox* combo3() const { return m_combo3; }
    QPushButton* command2() const { return m_command2; }

    // The quiz screen, loaded when it is not.
    Form1& quiz();
    // The quiz screen if it is loaded, else null.
    Form1* loadedQuiz() const;

    // Lets go of the lock and the file when the program ends.
    void releaseResources();

    // store::QuestionDisplay
    void renderQuestion(const store::Question& question) override;
    void showQuestion() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Form_QueryUnload: `userClosed` is true when the learner closed the window (reason code 0).
    bool Form_QueryUnload(bool userClosed);
    void buildControls();

    store::QuestionStore& m_store;
    Options m_options;
    std::unique_ptr<QLockFile> m_instanceLock;
    QPointer<Form1> m_quiz;

    QLabel* m_label1 = nullptr;
    QLabel* m_label4 = nullptr;
    QGroupBox* m_frame1 = nullptr;
    QGroupBox* m_frame3 = nullptr;
    QComboBox* m_combo1 = nullptr;
    QComboBox* m_combo2 = nullptr;
    QComboBox* m_combo3 = nullptr;
    QCheckBox* m_check1 = nullptr;
    QPushButton* m_command2 = nullptr;
    QPushButton* m_command3 = nullptr;
    QPushButton* m_command4 = nullptr;
};
