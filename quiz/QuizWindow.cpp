#include "QuizWindow.h"

#include "PassageBox.h"
#include "widgets/Layout.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace {

QLineEdit* makeHeadingLine(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* line = layout::place(new QLineEdit(parent), name, geometry, layout::font(layout::mincho, 9));
    line->setReadOnly(true);
    layout::setColours(line, layout::blue, layout::grey);
    return line;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int left)
{
    return layout::button(parent, name, caption, layout::twips(left, 6720, 1455, 495),
                          layout::font(layout::gothic, 9, true));
}

} // namespace

QuizWindow::QuizWindow(drill::DrillSession& session, QWidget* parent) : QWidget(parent), m_session(session)
{
    setObjectName(QStringLiteral("Form1"));
    buildControls();
    connect(&m_session, &drill::DrillSession::pageChanged, this, &QuizWindow::showPage);
    showPage();
}

void QuizWindow::buildControls()
{
    using layout::twips;
    layout::makeToolWindow(this, QStringLiteral("ハルニレ　KM"), 8850, 7245);
    setFont(layout::font(layout::mincho, 11.25));

    m_headingLines = {makeHeadingLine(this, "Text1", twips(120, 50, 8775, 255)),
                      makeHeadingLine(this, "Text2", twips(120, 300, 8775, 255)),
                      makeHeadingLine(this, "Text3", twips(120, 550, 8775, 255))};

    m_passageBox = layout::place(new PassageBox(this), "RichTextBox1", twips(120, 960, 8655, 5535),
                                 layout::font(layout::mincho, 11.25));
    layout::setColours(m_passageBox, {}, layout::grey);

    m_answerButton = makeButton(this, "Command1", QStringLiteral("解答"), 360);
    m_againButton = makeButton(this, "Command4", QStringLiteral("今の問題をもう一度"), 1920);
    m_nextButton = makeButton(this, "Command2", QStringLiteral("次の問題へ"), 3480);
    m_menuButton = makeButton(this, "Command3", QStringLiteral("メニュ画面へ"), 5040);
    // Beside the buttons: the question on show is marked to be asked again.
    m_reviewMark = layout::place(new QLabel(QStringLiteral("要復習"), this), "ReviewMark", twips(6600, 6780, 1500, 375),
                                 layout::font(layout::gothic, 9, true));
    layout::setColours(m_reviewMark, layout::red);
    m_reviewMark->setAccessibleName(QStringLiteral("要復習（まだ覚えていない）"));
    m_reviewMark->setToolTip(QStringLiteral("X キーで印を外します"));
    m_reviewMark->hide();
    // Right of it: the question on show is one of tier A, what the exam asks most.
    m_importantMark = layout::place(new QLabel(QStringLiteral("重要"), this), "ImportantMark",
                                    twips(8160, 6780, 600, 375), layout::font(layout::gothic, 9, true));
    layout::setColours(m_importantMark, layout::blue);
    m_importantMark->setAccessibleName(QStringLiteral("重要問題"));
    m_importantMark->setToolTip(QStringLiteral("試験によく出る規定の問題です（重要度 A）"));
    m_importantMark->hide();

    QWidget::setTabOrder(m_passageBox, m_menuButton);
    QWidget::setTabOrder(m_menuButton, m_nextButton);
    QWidget::setTabOrder(m_nextButton, m_answerButton);
    QWidget::setTabOrder(m_answerButton, m_headingLines[0]);
    QWidget::setTabOrder(m_headingLines[0], m_headingLines[1]);
    QWidget::setTabOrder(m_headingLines[1], m_headingLines[2]);
    QWidget::setTabOrder(m_headingLines[2], m_againButton);

    m_answerButton->setToolTip(QStringLiteral("Space または Enter キー"));
    m_nextButton->setToolTip(QStringLiteral("Space または Enter キー（解答の後）"));
    m_againButton->setToolTip(QStringLiteral("R キー"));
    m_menuButton->setToolTip(QStringLiteral("Esc キー"));
    m_passageBox->setToolTip(
        QStringLiteral("空欄をクリックするか、その番号（1～9）のキーを押すと、その語だけを表示します。"
                       "\n解答の後: X キーで「まだ覚えていない」の印、Ctrl+Z キーで解答の取り消し"));
    m_passageBox->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_passageBox, &QWidget::customContextMenuRequested, this, &QuizWindow::showPassageMenu);

    // The drill's keys work wherever the focus is on this screen.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    drill::DrillSession* session = &m_session;
    connect(m_passageBox, &PassageBox::clicked, session, &drill::DrillSession::uncoverAt);
    connect(m_answerButton, &QPushButton::clicked, session, &drill::DrillSession::revealAnswers);
    connect(m_nextButton, &QPushButton::clicked, session, &drill::DrillSession::showNextQuestion);
    connect(m_menuButton, &QPushButton::clicked, session, &drill::DrillSession::backToMenu);
    connect(m_againButton, &QPushButton::clicked, session, &drill::DrillSession::showQuestionAgain);
}

void QuizWindow::showPage()
{
    const drill::Page& page = m_session.page();
    for (qsizetype i = 0; i < m_headingLines.size(); ++i) {
        m_headingLines[i]->setText(page.headings.value(i));
        m_headingLines[i]->setCursorPosition(0);
    }
    m_passageBox->showPassage(page.passage, page.highlights);
    m_answerButton->setEnabled(page.answerEnabled());
    m_nextButton->setEnabled(page.nextEnabled());
    m_againButton->setVisible(page.againVisible());
    m_reviewMark->setVisible(page.marked);
    m_importantMark->setVisible(page.important);
}

void QuizWindow::showPassageMenu(const QPoint& position)
{
    std::unique_ptr<QMenu> menu(m_passageBox->createStandardContextMenu());
    menu->addSeparator();
    QAction* mark =
        menu->addAction(QStringLiteral("まだ覚えていない(&X)"), &m_session, &drill::DrillSession::toggleMark);
    mark->setCheckable(true);
    mark->setChecked(m_session.page().marked);
    mark->setEnabled(m_session.page().markable);
    menu->exec(m_passageBox->mapToGlobal(position));
}

void QuizWindow::focusOn(drill::Focus focus)
{
    switch (focus) {
    case drill::Focus::Heading:
        m_headingLines[0]->setFocus();
        break;
    case drill::Focus::AnswerButton:
        m_answerButton->setFocus();
        break;
    case drill::Focus::MenuButton:
        m_menuButton->setFocus();
        break;
    default:
        break;
    }
}

bool QuizWindow::handleKey(QObject* watched, int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers == Qt::ControlModifier && key == Qt::Key_Z) {
        m_session.undoReveal();
        return true;
    }
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    auto* button = qobject_cast<QPushButton*>(watched);
    switch (key) {
    case Qt::Key_Space:
        // A button with the focus takes its own Space.
        if (button)
            return false;
        m_session.revealOrGoOn();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (button)
            button->click();
        else
            m_session.revealOrGoOn();
        return true;
    case Qt::Key_R:
        m_session.showQuestionAgain();
        return true;
    case Qt::Key_X:
        m_session.toggleMark();
        return true;
    case Qt::Key_Escape:
        m_session.backToMenu();
        return true;
    default:
        if (key >= Qt::Key_1 && key <= Qt::Key_9) {
            m_session.uncover(key - Qt::Key_0);
            return true;
        }
        return false;
    }
}

bool QuizWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (handleKey(watched, key->key(), key->modifiers()))
            return true;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // Keeps the boxes' own bindings (Esc, digits, Ctrl+Z) from taking the drill's keys.
        const auto* key = static_cast<QKeyEvent*>(event);
        const int k = key->key();
        if (k == Qt::Key_Escape || k == Qt::Key_Space || k == Qt::Key_R || k == Qt::Key_X ||
            (k >= Qt::Key_1 && k <= Qt::Key_9) || key->matches(QKeySequence::Undo)) {
            event->accept();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void QuizWindow::closeEvent(QCloseEvent* event)
{
    if (m_session.closeQuiz(event->spontaneous()))
        event->accept();
    else
        event->ignore();
}
