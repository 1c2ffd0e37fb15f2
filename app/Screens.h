#pragma once

#include "drill/DrillSession.h"

#include <QObject>
#include <memory>

class MenuWindow;
class QuizWindow;

// The two windows of the drill: shows the one the session says, and puts the focus where it says.
class Screens final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Screens)

public:
    explicit Screens(drill::DrillSession& session);
    ~Screens() override;

    MenuWindow& menu() const { return *m_menu; }
    QuizWindow& quiz() const { return *m_quiz; }

private:
    void show(drill::Screen screen);
    void focus(drill::Focus focus);

    std::unique_ptr<MenuWindow> m_menu;
    std::unique_ptr<QuizWindow> m_quiz;
};
