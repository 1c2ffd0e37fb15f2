#include "QuizWindow.h"

#include "Module1.h"
#include "PassageBox.h"
#include "drill/PassageText.h"
#include "app/Layout.h"
#include "app/MenuWindow.h"
#include "drill/FailureText.h"
#include "drill/MessageSeam.h"
#include "store/ShowNextQuestion.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kTitle = QStringLiteral("ハルニレKM");
const QString kGap = QStringLiteral("  ");

QLineEdit* makeTextBox(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* box = layout::place(new QLineEdit(parent), name, geometry, layout::font(layout::mincho, 9));
    box->setReadOnly(true);
    layout::setColours(box, layout::blue, layout::grey);
    return box;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int left)
{
    return layout::button(parent, name, caption, layout::twips(left, 6720, 1455, 495),
                          layout::font(layout::gothic, 9, true));
}

} // namespace

QuizWindow::QuizWindow(store::QuestionStore& store, MenuWindow& menu) : m_store(store), m_menu(menu)
{
    setObjectName(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
}

void QuizWindow::buildControls()
{
    using layout::twips;
    layout::makeToolWindow(this, QStringLiteral("ハルニレ　KM"), 8850, 7245);
    setFont(layout::font(layout::mincho, 11.25));

    m_partLine = makeTextBox(this, "Text1", twips(120, 50, 8775, 255));
    m_captionLine = makeTextBox(this, "Text2", twips(120, 300, 8775, 255));
    m_placeLine = makeTextBox(this, "Text3", twips(120, 550, 8775, 255));

    m_passageBox = layout::place(new PassageBox(this), "RichTextBox1", twips(120, 960, 8655, 5535),
                                   layout::font(layout::mincho, 11.25));
    layout::setColours(m_passageBox, {}, layout::grey);

    m_answerButton = makeButton(this, "Command1", QStringLiteral("解答"), 360);
    m_againButton = makeButton(this, "Command4", QStringLiteral("今の問題をもう一度"), 1920);
    m_nextButton = makeButton(this, "Command2", QStringLiteral("次の問題へ"), 3480);
    m_menuButton = makeButton(this, "Command3", QStringLiteral("メニュ画面へ"), 5040);

    m_shownNoBox = new QLineEdit(QStringLiteral("Text4"), this);
    m_shownNoBox->setObjectName(QStringLiteral("Text4"));
    m_shownNoBox->setGeometry(twips(6960, 6600, 1455, 330));
    m_shownNoBox->setReadOnly(true);
    m_shownNoBox->hide();

    m_againButton->hide();
    m_nextButton->setEnabled(false);

    QWidget::setTabOrder(m_passageBox, m_menuButton);
    QWidget::setTabOrder(m_menuButton, m_nextButton);
    QWidget::setTabOrder(m_nextButton, m_answerButton);
    QWidget::setTabOrder(m_answerButton, m_partLine);
    QWidget::setTabOrder(m_partLine, m_captionLine);
    QWidget::setTabOrder(m_captionLine, m_placeLine);
    QWidget::setTabOrder(m_placeLine, m_shownNoBox);
    QWidget::setTabOrder(m_shownNoBox, m_againButton);

    m_answerButton->setToolTip(QStringLiteral("Space または Enter キー"));
    m_nextButton->setToolTip(QStringLiteral("Space または Enter キー（解答の後）"));
    m_againButton->setToolTip(QStringLiteral("R キー"));
    m_menuButton->setToolTip(QStringLiteral("Esc キー"));
    m_passageBox->setToolTip(QStringLiteral("空欄をクリックするか、その番号（1～9）のキーを押すと、その語だけを表示します"));

    // The drill's keys work wherever the focus is on this screen.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    connect(m_passageBox, &PassageBox::clicked, this, &QuizWindow::uncoverAt);

    connect(m_answerButton, &QPushButton::clicked, this, &QuizWindow::revealAnswers);
    connect(m_nextButton, &QPushButton::clicked, this, &QuizWindow::showNextQuestion);
    connect(m_menuButton, &QPushButton::clicked, this, &QuizWindow::backToMenu);
    connect(m_againButton, &QPushButton::clicked, this, &QuizWindow::showQuestionAgain);
}

void QuizWindow::setHeadings(const store::Question& q)
{
    m_partLine->setText(q.hen + kGap + q.sho);
    m_captionLine->setText(q.teigi);
    m_placeLine->setText(q.setsu + kGap + q.kan + kGap + q.jo);
    m_partLine->setCursorPosition(0);
    m_captionLine->setCursorPosition(0);
    m_placeLine->setCursorPosition(0);
}

void QuizWindow::renderBlankedQuestion(const store::Question& q)
{
    setHeadings(q);
    m_shownNoBox->setText(QString::number(q.no));
    showBlanked(passage::breakSentences(q.mondai), passage::answerList(q.kaitou));
}

void QuizWindow::showBlanked(const QString& display, const QStringList& answers)
{
    Module1::showBlanked(*m_passageBox, display, answers);
    m_runs = passage::blankRuns(display, answers);
    m_uncovered.clear();
    m_blanked = true;
}

void QuizWindow::uncover(int number)
{
    if (!m_blanked || m_uncovered.contains(number))
        return;
    if (std::none_of(m_runs.begin(), m_runs.end(), [number](const passage::Run& r) { return r.number == number; }))
        return;
    m_uncovered.append(number);
    PassageBox::Batch batch(*m_passageBox);
    QList<passage::Blank> blanks;
    const QString text = passage::layOutBlanks(m_runs, m_uncovered, &blanks);
    m_passageBox->setText(text);
    m_passageBox->select(0, text.size());
    m_passageBox->applyPlainStyle();
    for (const passage::Blank& blank : blanks) {
        m_passageBox->select(blank.span.start, blank.span.length);
        m_passageBox->applyHighlightStyle();
    }
}

void QuizWindow::uncoverAt(qsizetype position)
{
    if (!m_blanked)
        return;
    QList<passage::Blank> blanks;
    passage::layOutBlanks(m_runs, m_uncovered, &blanks);
    for (const qsizetype at : {position, position - 1}) {
        for (const passage::Blank& blank : blanks) {
            if (!blank.uncovered && at >= blank.span.start && at < blank.span.start + blank.span.length) {
                uncover(blank.number);
                return;
            }
        }
    }
}

bool QuizWindow::handleKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (key) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_answerButton->isEnabled())
            m_answerButton->click();
        else if (m_nextButton->isEnabled())
            m_nextButton->click();
        return true;
    case Qt::Key_R:
        if (m_againButton->isVisible())
            m_againButton->click();
        return true;
    case Qt::Key_Escape:
        m_menuButton->click();
        return true;
    default:
        if (key >= Qt::Key_1 && key <= Qt::Key_9) {
            uncover(key - Qt::Key_0);
            return true;
        }
        return false;
    }
}

bool QuizWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (handleKey(key->key(), key->modifiers()))
            return true;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // Keeps the boxes' own bindings (Esc, digits) from taking the drill's keys.
        auto* key = static_cast<QKeyEvent*>(event);
        const int k = key->key();
        if (k == Qt::Key_Escape || k == Qt::Key_Space || k == Qt::Key_R || (k >= Qt::Key_1 && k <= Qt::Key_9)) {
            event->accept();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void QuizWindow::reportFailure(const store::StoreError& error, bool wrote)
{
    seam::msgBox(store::failureMessage(error, wrote), seam::OkOnly, kTitle);
    m_menuButton->setFocus();
}

void QuizWindow::revealAnswers()
{
    m_answerButton->setEnabled(false);
    std::optional<store::Revealed> revealed;
    try {
        revealed = m_store.reveal(m_shownNoBox->text());
    } catch (const store::StoreError& e) {
        // Nothing was written: the learner may try again or go back to the menu.
        m_answerButton->setEnabled(true);
        reportFailure(e, true);
        return;
    }
    const QString display = revealed ? passage::breakSentences(revealed->mondai) : QString();
    const QStringList answers = revealed ? passage::answerList(revealed->kaitou) : QStringList();
    Module1::showRevealed(*m_passageBox, display, answers);
    m_blanked = false;
    m_nextButton->setEnabled(true);
    m_againButton->show();
}

void QuizWindow::showNextQuestion()
{
    const bool command4WasShown = m_againButton->isVisible();
    m_nextButton->setEnabled(false);
    m_againButton->hide();
    int result = 1;
    try {
        result = store::ShowNextQuestion(m_store, m_menu, m_menu.partSelector()->currentText(),
                                         m_menu.chapterSelector()->currentText(), m_menu.sectionSelector()->currentText(),
                                         m_menu.excludeSeenValue());
    } catch (const store::StoreError& e) {
        // The question on show stays; 次の問題へ can be pressed again, or the learner goes back to the menu.
        m_nextButton->setEnabled(true);
        m_againButton->setVisible(command4WasShown);
        reportFailure(e, false);
        return;
    }
    if (result == 0) {
        m_partLine->setFocus();
        return;
    }
    hide();
    m_menu.show();
    m_menu.activateWindow();
    m_menu.startButton()->setFocus();
}

void QuizWindow::showQuestionAgain()
{
    const bool command1WasEnabled = m_answerButton->isEnabled();
    m_answerButton->setEnabled(false);
    std::optional<store::Question> row;
    try {
        row = m_store.findShown(m_shownNoBox->text());
    } catch (const store::StoreError& e) {
        m_answerButton->setEnabled(command1WasEnabled);
        reportFailure(e, false);
        return;
    }
    QString display;
    QStringList answers;
    if (row) {
        setHeadings(*row);
        display = passage::breakSentences(row->mondai);
        answers = passage::answerList(row->kaitou);
    }
    showBlanked(display, answers);
    m_answerButton->setEnabled(true);
    m_nextButton->setEnabled(true);
    m_againButton->hide();
    m_answerButton->setFocus();
}

void QuizWindow::returnToMenu()
{
    hide();
    m_menu.show();
    m_menu.activateWindow();
}

void QuizWindow::backToMenu()
{
    m_nextButton->setEnabled(false);
    m_againButton->hide();
    returnToMenu();
}

bool QuizWindow::confirmClose(bool userClosed)
{
    if (!userClosed)
        return false;
    if (seam::msgBox(QStringLiteral("メニュー画面に戻りますか？"), seam::YesNo, kTitle) != seam::Yes)
        return true;
    returnToMenu();
    return false;
}

void QuizWindow::closeEvent(QCloseEvent* event)
{
    if (confirmClose(event->spontaneous()))
        event->ignore();
    else
        event->accept();
}
