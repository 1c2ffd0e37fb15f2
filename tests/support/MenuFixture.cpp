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
    menu = std::make_unique<MenuWindow>(store, MenuWindow::Options{lockFile()});
}

MenuFixture::~MenuFixture()
{
    menu.reset();
    store.release();
}

bool MenuFixture::load()
{
    const bool loaded = menu->startUp();
    if (loaded) {
        menu->show();
        QApplication::setActiveWindow(menu.get());
        menu->startButton()->setFocus();
    }
    return loaded;
}

std::unique_ptr<MenuWindow> MenuFixture::secondMenu(store::QuestionStore& other) const
{
    return std::make_unique<MenuWindow>(other, MenuWindow::Options{lockFile()});
}

void MenuFixture::choose(const QString& part, const QString& chapter, const QString& section)
{
    menu->partSelector()->setCurrentIndex(menu->partSelector()->findText(part, Qt::MatchExactly));
    menu->leavePartSelector();
    menu->chapterSelector()->setCurrentIndex(chapter.isEmpty() ? -1 : menu->chapterSelector()->findText(chapter, Qt::MatchExactly));
    menu->leaveChapterSelector();
    menu->sectionSelector()->setCurrentIndex(section.isEmpty() ? -1 : menu->sectionSelector()->findText(section, Qt::MatchExactly));
    QCOMPARE(menu->partSelector()->currentText(), part);
    QCOMPARE(menu->chapterSelector()->currentText(), chapter);
    QCOMPARE(menu->sectionSelector()->currentText(), section);
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
