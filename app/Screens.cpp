#include "Screens.h"

#include "MenuWindow.h"
#include "quiz/QuizWindow.h"

Screens::Screens(drill::DrillSession& session)
    : m_menu(std::make_unique<MenuWindow>(session)), m_quiz(std::make_unique<QuizWindow>(session))
{
    connect(&session, &drill::DrillSession::screenChanged, this, &Screens::show);
    connect(&session, &drill::DrillSession::focusRequested, this, &Screens::focus);
    show(session.screen());
}

Screens::~Screens() = default;

void Screens::show(drill::Screen screen)
{
    // The window going away is hidden first: the two are never seen together.
    QWidget* shown = screen == drill::Screen::Menu   ? static_cast<QWidget*>(m_menu.get())
                     : screen == drill::Screen::Quiz ? static_cast<QWidget*>(m_quiz.get())
                                                     : nullptr;
    for (QWidget* window : {static_cast<QWidget*>(m_menu.get()), static_cast<QWidget*>(m_quiz.get())}) {
        if (window != shown)
            window->hide();
    }
    if (shown) {
        shown->show();
        shown->activateWindow();
    }
}

void Screens::focus(drill::Focus focus)
{
    m_menu->focusOn(focus);
    m_quiz->focusOn(focus);
}
