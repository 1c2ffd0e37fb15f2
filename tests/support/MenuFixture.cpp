#include "MenuFixture.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QPushButton>
#include <QWindow>
#include <QTest>

namespace fixture {

MenuFixture::MenuFixture(const QList<store::Question>& questions, const QList<store::ContentsEntry>& contents)
{
    writeDatabase(folder.database(), questions, contents);
    menu = std::make_unique<start_gamen>(store, start_gamen::Options{lockFile()});
}

MenuFixture::~MenuFixture()
{
    menu.reset();
    store.release();
}

bool MenuFixture::load()
{
    const bool loaded = menu->Form_Load();
    if (loaded) {
        menu->show();
        QApplication::setActiveWindow(menu.get());
        menu->command2()->setFocus();
    }
    return loaded;
}

std::unique_ptr<start_gamen> MenuFixture::secondMenu(store::QuestionStore& other) const
{
    return std::make_unique<start_gamen>(other, start_gamen::Options{lockFile()});
}

void MenuFixture::choose(const QString& part, const QString& chapter, const QString& section)
{
    menu->combo1()->setCurrentIndex(menu->combo1()->findText(part, Qt::MatchExactly));
    menu->Combo1_LostFocus();
    menu->combo2()->setCurrentIndex(chapter.isEmpty() ? -1 : menu->combo2()->findText(chapter, Qt::MatchExactly));
    menu->Combo2_LostFocus();
    menu->combo3()->setCurrentIndex(section.isEmpty() ? -1 : menu->combo3()->findText(section, Qt::MatchExactly));
    QCOMPARE(menu->combo1()->currentText(), part);
    QCOMPARE(menu->combo2()->currentText(), chapter);
    QCOMPARE(menu->combo3()->currentText(), section);
}

void MenuFixture::pick(QWidget* widget, const QString& text)
{
    auto* combo = qobject_cast<QComboBox*>(widget);
    QVERIFY(combo);
    combo->setFocus(Qt::MouseFocusReason);
    const int index = combo->findText(text, Qt::MatchExactly);
    QVERIFY2(index >= 0, qPrintable(QStringLiteral("no item %1").arg(text)));
    combo->setCurrentIndex(index);
}

void userCloses(QWidget* window)
{
    QVERIFY(window->windowHandle());
    QCloseEvent event;
    QApplication::sendEvent(window->windowHandle(), &event);
}

void pressTab(QWidget* window)
{
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : window, Qt::Key_Tab);
}

} // namespace fixture
