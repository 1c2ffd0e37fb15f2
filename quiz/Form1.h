#pragma once

#include "drill/PassageText.h"
#include "store/Question.h"
#include "store/QuestionStore.h"

#include <QWidget>

class QLineEdit;
class QPushButton;
class RichTextBox;
class start_gamen;

// The quiz screen: one passage at a time, with 解答, 次の問題へ, 今の問題をもう一度 and メニュ画面へ.
// Closing it with the close box unloads it; the next display loads it afresh.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    Form1(store::QuestionStore& store, start_gamen& menu);

    // Fills the headings, the hidden Ｎｏ and the blanked passage from a question row.
    void RenderQuestion(const store::Question& question);

    void Command1_Click();  // 解答
    void Command2_Click();  // 次の問題へ
    void Command3_Click();  // メニュ画面へ
    void Command4_Click();  // 今の問題をもう一度

    // Shows the word of blank n in place of its markers, highlighted; writes nothing. Only while blanks show.
    void uncover(int number);
    // Uncovers the blank standing at (or just before) a position of the passage's text.
    void uncoverAt(qsizetype position);

    QLineEdit* text1() const { return m_text1; }
    QLineEdit* text2() const { return m_text2; }
    QLineEdit* text3() const { return m_text3; }
    QLineEdit* text4() const { return m_text4; }
    RichTextBox* richTextBox1() const { return m_richTextBox1; }
    QPushButton* command1() const { return m_command1; }
    QPushButton* command2() const { return m_command2; }
    QPushButton* command3() const { return m_command3; }
    QPushButton* command4() const { return m_command4; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Form_QueryUnload: returns true to keep the window open.
    bool Form_QueryUnload(bool userClosed);
    void buildControls();
    void setHeadings(const store::Question& question);
    void backToMenu();
    void reportFailure(const class store::StoreError& error, bool wrote);
    void showBlanked(const QString& display, const QStringList& answers);
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);

    store::QuestionStore& m_store;
    start_gamen& m_menu;

    // The blanks of the passage on show, while it shows blanks.
    QList<quiz::Run> m_runs;
    QList<int> m_uncovered;
    bool m_blanked = false;

    QLineEdit* m_text1 = nullptr;
    QLineEdit* m_text2 = nullptr;
    QLineEdit* m_text3 = nullptr;
    QLineEdit* m_text4 = nullptr;
    RichTextBox* m_richTextBox1 = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command2 = nullptr;
    QPushButton* m_command3 = nullptr;
    QPushButton* m_command4 = nullptr;
};
