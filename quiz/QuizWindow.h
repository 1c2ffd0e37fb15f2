#pragma once

#include "drill/PassageText.h"
#include "store/Question.h"
#include "store/QuestionStore.h"

#include <QWidget>

class QLineEdit;
class QPushButton;
class PassageBox;
class MenuWindow;

// The quiz screen: one passage at a time, with 解答, 次の問題へ, 今の問題をもう一度 and メニュ画面へ.
// Closing it with the close box unloads it; the next display loads it afresh.
class QuizWindow : public QWidget
{
    Q_OBJECT

public:
    QuizWindow(store::QuestionStore& store, MenuWindow& menu);

    // Fills the headings, the hidden Ｎｏ and the blanked passage from a question row.
    void renderBlankedQuestion(const store::Question& question);

    void revealAnswers();  // 解答
    void showNextQuestion();  // 次の問題へ
    void backToMenu();  // メニュ画面へ
    void showQuestionAgain();  // 今の問題をもう一度

    // Shows the word of blank n in place of its markers, highlighted; writes nothing. Only while blanks show.
    void uncover(int number);
    // Uncovers the blank standing at (or just before) a position of the passage's text.
    void uncoverAt(qsizetype position);

    QLineEdit* partLine() const { return m_partLine; }
    QLineEdit* captionLine() const { return m_captionLine; }
    QLineEdit* placeLine() const { return m_placeLine; }
    QLineEdit* shownNoBox() const { return m_shownNoBox; }
    PassageBox* passageBox() const { return m_passageBox; }
    QPushButton* answerButton() const { return m_answerButton; }
    QPushButton* nextButton() const { return m_nextButton; }
    QPushButton* menuButton() const { return m_menuButton; }
    QPushButton* againButton() const { return m_againButton; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // confirmClose: returns true to keep the window open.
    bool confirmClose(bool userClosed);
    void buildControls();
    void setHeadings(const store::Question& question);
    void returnToMenu();
    void reportFailure(const class store::StoreError& error, bool wrote);
    void showBlanked(const QString& display, const QStringList& answers);
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);

    store::QuestionStore& m_store;
    MenuWindow& m_menu;

    // The blanks of the passage on show, while it shows blanks.
    QList<passage::Run> m_runs;
    QList<int> m_uncovered;
    bool m_blanked = false;

    QLineEdit* m_partLine = nullptr;
    QLineEdit* m_captionLine = nullptr;
    QLineEdit* m_placeLine = nullptr;
    QLineEdit* m_shownNoBox = nullptr;
    PassageBox* m_passageBox = nullptr;
    QPushButton* m_answerButton = nullptr;
    QPushButton* m_nextButton = nullptr;
    QPushButton* m_menuButton = nullptr;
    QPushButton* m_againButton = nullptr;
};
