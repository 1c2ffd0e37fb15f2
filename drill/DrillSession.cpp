#include "DrillSession.h"

#include "ChapterTable.h"
#include "FailureText.h"
#include "MessageSeam.h"
#include "Texts.h"
#include "store/QuestionStore.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace drill {

namespace {

const QString kPickChapter = QStringLiteral("該当の編・章を選択してください。");
const QString kQuitQuestion = QStringLiteral("終了して良いですか？");
// The gap between the titles of one heading line.
const QString kGap = QStringLiteral("  ");

QString itemOf(const QStringList& items, int index)
{
    return index >= 0 && index < items.size() ? items[index] : QString();
}

int checkedIndex(const QStringList& items, int index)
{
    return index >= 0 && index < items.size() ? index : -1;
}

// The text with which the launch asks the learner to confirm the range.
QString confirmationText(const store::Range& range)
{
    const QString& br = texts::kLineBreak;
    const QString tail = br + QStringLiteral("を範囲として出題します。 ") + br;
    QString text;
    if (range.part == store::kAll)
        text = QStringLiteral("会社法全体を範囲として出題します。 ") + br;
    else if (range.chapter == store::kAll)
        text = QStringLiteral("編： ") + range.part + br + tail;
    else if (range.section.isEmpty() || range.section == store::kAll)
        text = QStringLiteral("編： ") + range.part + br + QStringLiteral("章： ") + range.chapter + br + tail;
    else
        text = QStringLiteral("編： ") + range.part + br + QStringLiteral("章： ") + range.chapter + br +
               QStringLiteral("節： ") + range.section + br + tail;
    if (range.excludeSeen && !range.markedOnly)
        text += br + QStringLiteral("( 今までに出た問題は除きます。)") + br;
    if (range.importantOnly)
        text += br + QStringLiteral("( 重要問題だけを出題します。)") + br;
    if (range.markedOnly)
        text += br + QStringLiteral("( 要復習の問題だけを出題します。)") + br;
    return text;
}

// Two lone carriage returns between the sentences.
const QString kExhausted =
    QStringLiteral("これらの条件の出題は全て実施済みです。\r\r条件を変えるか、記録を全てクリアしてから再度行い下さい");

} // namespace

DrillSession::DrillSession(store::QuestionStore& store, QString lockFilePath)
    : m_store(store), m_lockFilePath(std::move(lockFilePath))
{
}

DrillSession::~DrillSession() = default;

QString DrillSession::defaultLockFilePath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/harunire-km.lock");
}

bool DrillSession::startUp()
{
    // A second copy of the program would work on the same record.
    m_instanceLock = std::make_unique<QLockFile>(m_lockFilePath);
    m_instanceLock->setStaleLockTime(0);
    if (!m_instanceLock->tryLock(0)) {
        const bool heldByAnother = m_instanceLock->error() == QLockFile::LockFailedError;
        // A lock folder that cannot be written cannot tell one copy from two: the start goes on then.
        m_instanceLock.reset();
        if (heldByAnother) {
            seam::tell(QStringLiteral("既に起動されています。"));
            seam::endProgram(1);
            return false;
        }
    }

    if (!QFileInfo(m_store.path()).isFile()) {
        seam::tell(QStringLiteral("★ ソラメモ.mdb が存在しません ★\r\n\r\n"
                                  "このＡＰと同じフォルダ配下に ソラメモ.mdb を置いて下さい"),
                   texts::kTitle);
        seam::endProgram(1);
        return false;
    }

    m_selectors = Selectors{};
    m_selectors.parts = chapters::partList();
    emit selectorsChanged();

    try {
        m_store.trialOpen();
        m_tiersAvailable = m_store.hasTiers();
    } catch (const store::StoreError& e) {
        endAfterStartFailure(e);
        return false;
    }
    setScreen(Screen::Menu);
    emit focusRequested(Focus::StartButton);
    return true;
}

void DrillSession::release()
{
    m_store.release();
    m_instanceLock.reset();
}

void DrillSession::setScreen(Screen screen)
{
    if (screen == m_screen)
        return;
    m_screen = screen;
    emit screenChanged(screen);
}

void DrillSession::endAfterStartFailure(const store::StoreError& error)
{
    seam::tell(startFailureMessage(error));
    seam::endProgram(1);
}

void DrillSession::reportFailure(const store::StoreError& error, bool wrote)
{
    seam::tell(failureMessage(error, wrote), texts::kTitle);
    emit focusRequested(Focus::MenuButton);
}

// ---- the menu ----

store::Range DrillSession::range() const
{
    return {itemOf(m_selectors.parts, m_selectors.part),
            itemOf(m_selectors.chapters, m_selectors.chapter),
            itemOf(m_selectors.sections, m_selectors.section),
            m_excludeSeen,
            m_importantOnly && m_tiersAvailable,
            m_markedOnly};
}

void DrillSession::pickPart(int index)
{
    m_selectors.part = checkedIndex(m_selectors.parts, index);
}

void DrillSession::pickChapter(int index)
{
    m_selectors.chapter = checkedIndex(m_selectors.chapters, index);
}

void DrillSession::pickSection(int index)
{
    m_selectors.section = checkedIndex(m_selectors.sections, index);
}

void DrillSession::leavePartSelector()
{
    fillChapterList();
}

void DrillSession::leaveChapterSelector()
{
    m_sectionsOf = range().chapter;
    m_selectors.sections.clear();
    m_selectors.section = -1;
    emit selectorsChanged();
    fillSectionList();
}

void DrillSession::fillChapterList()
{
    m_selectors.chapters.clear();
    m_selectors.sections.clear();
    m_selectors.chapter = m_selectors.section = -1;
    bool found = false;
    m_chaptersOf = range().part;
    m_selectors.chapters = chapters::chaptersOf(m_chaptersOf, &found);
    emit selectorsChanged();
    if (!found)
        seam::tell(kPickChapter, texts::kTitle);
}

void DrillSession::fillSectionList()
{
    const store::Range chosen = range();
    QStringList sections;
    try {
        sections = m_store.sections(chosen.part, chosen.chapter);
    } catch (const store::StoreError& e) {
        endAfterStartFailure(e);
        return;
    }
    // A chapter without sections keeps an empty list, without "すべて".
    if (sections.isEmpty())
        return;
    m_selectors.sections = QStringList{store::kAll} + sections;
    m_selectors.section = -1;
    emit selectorsChanged();
}

DrillSession::Refusal DrillSession::refusalOf(const store::Range& chosen)
{
    // A part and chapter that neither 目次 nor the questions know, unless either leaves its level open. The probe
    // runs whatever the range: a file that cannot be read ends the launch here.
    if (!m_store.knowsChapter(chosen.part, chosen.chapter) && chosen.chapter != store::kAll &&
        chosen.part != store::kAll)
        return Refusal::PickChapter;
    if (!chapters::partList().contains(chosen.part))
        return Refusal::InvalidPart;
    return Refusal::None;
}

void DrillSession::startDrill()
{
    try {
        const store::Range chosen = range();
        const Refusal refusal = refusalOf(chosen);
        if (refusal == Refusal::PickChapter) {
            seam::tell(kPickChapter, texts::kTitle);
            m_selectors.chapters.clear();
            m_selectors.sections.clear();
            m_selectors.chapter = m_selectors.section = -1;
            emit selectorsChanged();
            emit focusRequested(Focus::PartSelector);
            return;
        }
        if (refusal == Refusal::InvalidPart) {
            seam::tell(QStringLiteral("対象範囲を選択してから、このボタンを押して下さい"),
                       QStringLiteral("ハルニレ KM"));
            m_selectors.part = -1;
            emit selectorsChanged();
            emit focusRequested(Focus::PartSelector);
            return;
        }
        if (!seam::ask(confirmationText(chosen), texts::kTitle))
            return;

        setScreen(Screen::None);
        const std::optional<store::Question> first = m_store.nextQuestion(range());
        if (!first)
            return backToMenuAtTheEnd();
        showBlanked(first, Phase::Blanked);
        setScreen(Screen::Quiz);
        emit focusRequested(Focus::Heading);
    } catch (const store::StoreError& e) {
        endAfterStartFailure(e);
    }
}

void DrillSession::clearRecord()
{
    if (!seam::ask(QStringLiteral("今までの記録（どの問題を見たか）を削除してよろしいですか？"), texts::kTitle))
        return;
    try {
        m_store.clearFlag(store::Flag::Done);
    } catch (const store::StoreError& e) {
        seam::tell(failureMessage(e, true), texts::kTitle);
        return;
    }
    seam::tell(QStringLiteral("今までの記録を削除しました"), texts::kTitle);
}

void DrillSession::quit()
{
    if (!seam::ask(kQuitQuestion, texts::kTitle))
        return;
    try {
        m_store.clearFlag(store::Flag::Recent);
    } catch (const store::StoreError& e) {
        // The program still ends, as the learner asked.
        const QString& br = texts::kLineBreak;
        seam::tell(QStringLiteral("終了時に、今回見た問題の印を外せませんでした。") + br + startFailureMessage(e) + br +
                       QStringLiteral("今回見た問題は、次に「終了」で終了するまで出題されません。"
                                      "今までの記録は変更されていません。"),
                   texts::kTitle);
    }
    seam::endProgram(0);
}

bool DrillSession::closeMenu(bool byLearner)
{
    // Closed by the system (the desktop session ending) the program ends without asking; either way 直近 stays as
    // it is, so the next run goes on where this one stopped.
    if (byLearner && !seam::ask(kQuitQuestion, texts::kTitle))
        return false;
    seam::endProgram(0);
    return true;
}

QString DrillSession::remainingText()
{
    // What a click on 問題開始 would drill. The click first takes the focus from a list, which rebuilds the lists
    // below it: a list still holding the items of an earlier pick above it counts as nothing picked.
    store::Range shown = range();
    if (shown.part != m_chaptersOf)
        shown.chapter = shown.section = QString();
    else if (shown.chapter != m_sectionsOf)
        shown.section = QString();
    try {
        const store::RangeCounts counts =
            refusalOf(shown) == Refusal::None ? m_store.countRange(shown) : store::RangeCounts{};
        return QStringLiteral("残り %1 問 / 全 %2 問").arg(counts.open).arg(counts.total);
    } catch (const store::StoreError&) {
        return QString();
    }
}

std::optional<StudyStatus> DrillSession::studyStatus()
{
    try {
        return readStudyStatus(m_store, range(), m_today());
    } catch (const store::StoreError& e) {
        seam::tell(failureMessage(e, false), texts::kTitle);
        return std::nullopt;
    }
}

// ---- the quiz screen ----

void DrillSession::showBlanked(const std::optional<store::Question>& question, Phase phase)
{
    // A question that cannot be found any more keeps the headings of the one before and shows no passage.
    if (question)
        m_shown = question;
    if (phase == Phase::Blanked)
        m_revealedHere = false;
    m_page.marked = question && !question->markedOn.isEmpty();
    m_page.important = m_shown && m_shown->tier == QLatin1String("A");
    m_page.rangeDone = false;
    m_undo.reset();
    m_display = question ? passage::breakSentences(question->passage) : QString();
    m_answers = question ? passage::answerList(question->answers) : QStringList();
    m_runs = passage::blankRuns(m_display, m_answers);
    m_uncovered.clear();
    m_blanked = true;
    m_page.phase = phase;
    layOutPage();
}

void DrillSession::layOutPage()
{
    if (m_shown) {
        const store::Question& q = *m_shown;
        m_page.headings = {q.part + kGap + q.chapter, q.caption, q.section + kGap + q.subsection + kGap + q.article};
        // While blanks show, the headings never give an answer away: they carry the same blanks as the passage.
        if (m_blanked) {
            for (QString& line : m_page.headings)
                line = passage::showBlanks(passage::blankRuns(line, m_answers), m_answers, m_uncovered).text;
        }
    }
    const passage::Shown shown =
        m_blanked ? passage::showBlanks(m_runs, m_answers, m_uncovered) : passage::showAnswers(m_display, m_answers);
    m_page.passage = shown.text;
    m_page.highlights = shown.highlights;
    m_page.markable = m_revealedHere;
    emit pageChanged();
}

void DrillSession::revealAnswers()
{
    if (!m_page.answerEnabled())
        return;
    std::optional<store::Revealed> revealed;
    const QDate today = m_today();
    try {
        revealed = m_store.reveal(shownNo(), today);
    } catch (const store::StoreError& e) {
        // Nothing was written: the learner may try again or go back to the menu.
        reportFailure(e, true);
        return;
    }
    // A question that cannot be found any more is revealed as an empty passage; nothing was written.
    m_display = revealed ? passage::breakSentences(revealed->passage) : QString();
    m_answers = revealed ? passage::answerList(revealed->answers) : QStringList();
    m_blanked = false;
    if (revealed)
        m_undo = BeforeReveal{*revealed, today, m_page.phase};
    m_revealedHere = revealed.has_value();
    m_page.marked = false;
    m_page.phase = Phase::Revealed;
    layOutPage();
    emit focusRequested(Focus::NextButton);
}

void DrillSession::toggleMark()
{
    if (!m_page.markable)
        return;
    try {
        if (m_page.marked)
            m_store.removeMark(shownNo());
        else
            m_store.setMark(shownNo(), m_today());
    } catch (const store::StoreError& e) {
        reportFailure(e, true);
        return;
    }
    m_page.marked = !m_page.marked;
    emit pageChanged();
}

void DrillSession::undoReveal()
{
    if (m_page.phase != Phase::Revealed || !m_undo)
        return;
    const BeforeReveal before = *m_undo;
    try {
        m_store.undoReveal(shownNo(), before.record, before.day);
    } catch (const store::StoreError& e) {
        // The reveal stays recorded and on screen: Ctrl+Z can be pressed again.
        seam::tell(undoFailureMessage(e), texts::kTitle);
        emit focusRequested(Focus::MenuButton);
        return;
    }
    // The question blanked again as the reveal found it, its mark with it; whether it had been revealed here before
    // follows from the phase it is shown in.
    if (m_shown)
        m_shown->markedOn = before.record.markedBefore;
    showBlanked(m_shown, before.phase);
    emit focusRequested(Focus::AnswerButton);
}

void DrillSession::showNextQuestion()
{
    if (!m_page.nextEnabled())
        return;
    std::optional<store::Question> next;
    try {
        next = m_store.nextQuestion(range());
    } catch (const store::StoreError& e) {
        // The question on show stays; 次の問題へ can be pressed again, or the learner goes back to the menu.
        reportFailure(e, false);
        return;
    }
    if (!next)
        return backToMenuAtTheEnd();
    showBlanked(next, Phase::Blanked);
    emit focusRequested(Focus::Heading);
}

void DrillSession::showQuestionAgain()
{
    if (!m_page.againVisible())
        return;
    std::optional<store::Question> row;
    try {
        row = m_store.question(shownNo());
    } catch (const store::StoreError& e) {
        reportFailure(e, false);
        return;
    }
    showBlanked(row, Phase::BlankedAgain);
    emit focusRequested(Focus::AnswerButton);
}

void DrillSession::backToMenuAtTheEnd()
{
    // The quiz screen under the box offers no way on but back to the menu.
    m_page.rangeDone = true;
    emit pageChanged();
    emit focusRequested(Focus::MenuButton);
    seam::tell(kExhausted, texts::kTitle);
    setScreen(Screen::Menu);
    emit focusRequested(Focus::StartButton);
}

void DrillSession::backToMenu()
{
    setScreen(Screen::Menu);
}

void DrillSession::revealOrGoOn()
{
    if (m_page.answerEnabled())
        revealAnswers();
    else if (m_page.nextEnabled())
        showNextQuestion();
}

bool DrillSession::closeQuiz(bool byLearner)
{
    if (byLearner && !seam::ask(QStringLiteral("メニュー画面に戻りますか？"), texts::kTitle))
        return false;
    backToMenu();
    return true;
}

void DrillSession::uncover(int number)
{
    if (!m_blanked || m_uncovered.contains(number))
        return;
    if (std::none_of(m_runs.begin(), m_runs.end(), [number](const passage::Run& r) { return r.number == number; }))
        return;
    m_uncovered.append(number);
    layOutPage();
}

void DrillSession::uncoverAt(qsizetype position)
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

} // namespace drill
