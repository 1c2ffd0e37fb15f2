#pragma once

#include "drill/DrillSession.h"
#include "widgets/KeyTable.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class PassageBox;

// The quiz screen: one passage at a time, with 解答, 次の問題へ, 今の問題をもう一度 and メニュ画面へ. A view of the
// drill session: it lays out the controls, forwards clicks and keys, and shows the session's page.
class QuizWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QuizWindow)

public:
    explicit QuizWindow(drill::DrillSession& session, QWidget* parent = nullptr);

    void focusOn(drill::Focus focus);

    QLineEdit* headingLine(int index) const { return m_headingLines.at(index); }
    PassageBox* passageBox() const { return m_passageBox; }
    QPushButton* answerButton() const { return m_answerButton; }
    QPushButton* nextButton() const { return m_nextButton; }
    QPushButton* menuButton() const { return m_menuButton; }
    QPushButton* againButton() const { return m_againButton; }
    QLabel* reviewMark() const { return m_reviewMark; }
    QLabel* importantMark() const { return m_importantMark; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void showPage();
    // Every key of the screen: what it does, the tooltips that name it, the passage's context menu entries.
    QList<keys::Key> keyTable();
    void showPassageMenu(const QPoint& position);

    drill::DrillSession& m_session;

    QList<QLineEdit*> m_headingLines;
    PassageBox* m_passageBox = nullptr;
    QPushButton* m_answerButton = nullptr;
    QPushButton* m_nextButton = nullptr;
    QPushButton* m_menuButton = nullptr;
    QPushButton* m_againButton = nullptr;
    QLabel* m_reviewMark = nullptr;
    QLabel* m_importantMark = nullptr;
    keys::KeyTable* m_keys = nullptr;
};
