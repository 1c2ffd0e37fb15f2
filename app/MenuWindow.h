#pragma once

#include "drill/DrillSession.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QPushButton;

// The menu screen: the range of the drill, the option, the progress reset, the launch and quitting. A view of the
// drill session: it lays out the controls, forwards the learner's picks and clicks, and shows the session's lists.
class MenuWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuWindow)

public:
    explicit MenuWindow(drill::DrillSession& session, QWidget* parent = nullptr);

    void focusOn(drill::Focus focus);
    // Puts the lists and their picks into the three selectors, without the selectors telling the session back.
    void showSelectors(const drill::Selectors& lists);

    QComboBox* partSelector() const { return m_partSelector; }
    QComboBox* chapterSelector() const { return m_chapterSelector; }
    QComboBox* sectionSelector() const { return m_sectionSelector; }
    QCheckBox* excludeSeenBox() const { return m_excludeSeenBox; }
    QCheckBox* importantOnlyBox() const { return m_importantOnlyBox; }
    QCheckBox* markedOnlyBox() const { return m_markedOnlyBox; }
    QPushButton* statusButton() const { return m_statusButton; }

    // Opens 学習状況 on what the file holds now.
    void showStudyStatus();
    QPushButton* startButton() const { return m_startButton; }
    QPushButton* clearRecordButton() const { return m_clearRecordButton; }
    QPushButton* quitButton() const { return m_quitButton; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();

    drill::DrillSession& m_session;

    QComboBox* m_partSelector = nullptr;
    QComboBox* m_chapterSelector = nullptr;
    QComboBox* m_sectionSelector = nullptr;
    QCheckBox* m_excludeSeenBox = nullptr;
    QCheckBox* m_importantOnlyBox = nullptr;
    QCheckBox* m_markedOnlyBox = nullptr;
    QPushButton* m_statusButton = nullptr;
    QPushButton* m_startButton = nullptr;
    QPushButton* m_clearRecordButton = nullptr;
    QPushButton* m_quitButton = nullptr;
};
