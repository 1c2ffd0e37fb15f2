#include "QuizWindow.h"

#include "PassageBox.h"
#include "widgets/KeyTable.h"
#include "widgets/Layout.h"

#include <QCloseEvent>
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

    m_keys = new keys::KeyTable(this, keyTable());
    for (QPushButton* button : {m_answerButton, m_nextButton, m_againButton, m_menuButton})
        button->setToolTip(m_keys->tip(button));
    m_passageBox->setToolTip(QStringLiteral("空欄をクリックすると、その語だけを表示します。\n") +
                             m_keys->tip(m_passageBox));
    m_reviewMark->setToolTip(QStringLiteral("%1 キーで印を外します").arg(m_keys->names(m_reviewMark)));
    m_passageBox->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_passageBox, &QWidget::customContextMenuRequested, this, &QuizWindow::showPassageMenu);

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

QList<keys::Key> QuizWindow::keyTable()
{
    drill::DrillSession* s = &m_session;
    const QList<QWidget*> answerAndNext{m_answerButton, m_nextButton};
    const auto revealed = [s] { return s->page().markable; };
    const auto undoable = [s] { return s->page().markable && s->page().phase == drill::Phase::Revealed; };
    const auto marked = [s] { return s->page().marked; };
    const QString uncovers = QStringLiteral("その番号の空欄の語だけを表示");
    const auto digit = [this, s, uncovers](int n) {
        return keys::Key{
            Qt::Key(Qt::Key_0 + n), [s, n] { s->uncover(n); }, QStringLiteral("1～9"), {m_passageBox}, uncovers};
    };
    // clang-format off
    return {
        {Qt::Key_Space,  [s] { s->revealOrGoOn(); },      QStringLiteral("Space"), answerAndNext},
        {Qt::Key_Return, [s] { s->revealOrGoOn(); },      QStringLiteral("Enter"), answerAndNext},
        {Qt::Key_Enter,  [s] { s->revealOrGoOn(); },      QStringLiteral("Enter"), answerAndNext},
        {Qt::Key_R,      [s] { s->showQuestionAgain(); }, QStringLiteral("R"),     {m_againButton}},
        {Qt::Key_Escape, [s] { s->backToMenu(); },        QStringLiteral("Esc"),   {m_menuButton}},
        digit(1), digit(2), digit(3), digit(4), digit(5), digit(6), digit(7), digit(8), digit(9),
        // Also entries of the passage's context menu, usable after a reveal.
        {Qt::Key_X, [s] { s->toggleMark(); }, QStringLiteral("X"), {m_passageBox, m_reviewMark},
         QStringLiteral("まだ覚えていない（解答の後）"), revealed, marked},
        {Qt::ControlModifier | Qt::Key_Z, [s] { s->undoReveal(); }, QStringLiteral("Ctrl+Z"), {m_passageBox},
         QStringLiteral("解答の取り消し（解答の後）"), undoable},
    };
    // clang-format on
}

void QuizWindow::showPassageMenu(const QPoint& position)
{
    std::unique_ptr<QMenu> menu(m_passageBox->createStandardContextMenu());
    menu->setPalette(layout::palette());
    menu->addSeparator();
    m_keys->addEntries(menu.get());
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
    case drill::Focus::NextButton:
        // With its focus ring, as after a move by the keyboard, also when 解答 was clicked.
        setAttribute(Qt::WA_KeyboardFocusChange);
        m_nextButton->setFocus();
        break;
    default:
        break;
    }
}

void QuizWindow::closeEvent(QCloseEvent* event)
{
    if (m_session.closeQuiz(event->spontaneous()))
        event->accept();
    else
        event->ignore();
}
