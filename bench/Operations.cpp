#include "Operations.h"

#include "Corpus.h"
#include "References.h"
#include "app/MenuWindow.h"
#include "app/Screens.h"
#include "drill/ChapterTable.h"
#include "drill/DrillSession.h"
#include "drill/MessageSeam.h"
#include "drill/PassageText.h"
#include "quiz/PassageBox.h"
#include "quiz/QuizWindow.h"
#include "store/QuestionStore.h"
#include "store/StoreError.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <sqlite3.h>
#include <unistd.h>

namespace bench {

namespace {

using store::kAll;

// Set when the program asked to end: a normal drill never does.
bool programEnded = false;

// Lets the event loop do what the last operation left it (painting, deferred deletions) outside the timed part.
void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

double timed(const std::function<void()>& work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return double(clock.nsecsElapsed()) / 1e6;
}

struct Variant
{
    std::function<void()> run;
    int reps = 0;
    Samples* into = nullptr;
    std::function<void()> before = {}; // untimed, before every repetition
    std::function<void()> after = {};  // untimed, after every repetition
    std::function<void()> check = {};  // untimed, after the first timed repetition
};

// Runs the three variants in turn, so that a burst of load on the machine falls on all three alike. `warmUp` runs
// each once untimed first (first use of a window, first preparation of a statement).
void measure(std::array<Variant, 3> variants, bool warmUp)
{
    const auto once = [](Variant& v, bool record) {
        if (v.before)
            v.before();
        settle();
        const double ms = timed(v.run);
        if (record && v.into->isEmpty() && v.check)
            v.check();
        if (record)
            v.into->add(ms);
        if (v.after)
            v.after();
        settle();
    };
    if (warmUp) {
        for (Variant& v : variants)
            once(v, false);
    }
    int most = 0;
    for (const Variant& v : variants)
        most = std::max(most, v.reps);
    // All six orders in turn: each variant goes first, and follows each other variant, equally often (a variant
    // that always ran right after the literal one would find the processor's caches cold every time).
    static constexpr int orders[6][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {0, 2, 1}, {2, 1, 0}, {1, 0, 2}};
    for (int i = 0; i < most; ++i) {
        for (const int k : orders[i % 6]) {
            Variant& v = variants[size_t(k)];
            if (i < v.reps)
                once(v, true);
        }
    }
}

// The program as it runs a drill: its store, the drill session on it and the real windows, which show what the
// session says. Built offscreen; `lockFilePath` keeps the single-instance lock apart from any copy of the program.
struct Program
{
    explicit Program(const QString& lockFilePath) : session(store, lockFilePath), screens(session) {}

    MenuWindow& menu() const { return screens.menu(); }
    QuizWindow& quiz() const { return screens.quiz(); }

    store::QuestionStore store;
    drill::DrillSession session;
    Screens screens;
};

// Picks an item as the learner does, by its text; the list tells the session.
void pick(QComboBox* combo, const QString& text)
{
    combo->setCurrentIndex(text.isEmpty() ? -1 : combo->findText(text, Qt::MatchExactly));
}

// Chooses a range on the menu as the learner does: part, leave the list, chapter, leave the list, section.
void chooseRange(Program& program, const QString& part, const QString& chapter, const QString& section)
{
    pick(program.menu().partSelector(), part);
    program.session.leavePartSelector();
    pick(program.menu().chapterSelector(), chapter);
    program.session.leaveChapterSelector();
    pick(program.menu().sectionSelector(), section);
}

// ---- the screen work of the two references: what the windows do with what the session tells them ----

// The menu at start-up: the part list, nothing picked; the menu shown with the focus on 問題開始.
void showFirstMenu(Program& program)
{
    drill::Selectors lists;
    lists.parts = chapters::partList();
    program.menu().showSelectors(lists);
    program.quiz().hide();
    program.menu().show();
    program.menu().activateWindow();
    program.menu().focusOn(drill::Focus::StartButton);
}

// The section list of the chosen chapter: the list emptied when the learner leaves the chapter list, then filled
// with "すべて" and the sections, nothing picked (a chapter without sections keeps it empty).
void showSections(Program& program, const QStringList& sections)
{
    drill::Selectors lists = program.session.selectors();
    lists.sections.clear();
    lists.section = -1;
    program.menu().showSelectors(lists);
    if (sections.isEmpty())
        return;
    lists.sections = QStringList{kAll} + sections;
    program.menu().showSelectors(lists);
}

// The gap the session puts between the titles of one heading line.
const QString kGap = QStringLiteral("  ");

// The page of a row with its blanks, as the session lays it out; a row that is not found keeps the headings.
drill::Page blankedPage(const std::optional<store::Question>& q, drill::Phase phase, const QStringList& headings)
{
    drill::Page page;
    page.headings =
        q ? QStringList{q->part + kGap + q->chapter, q->caption, q->section + kGap + q->subsection + kGap + q->article}
          : headings;
    const QString display = q ? passage::breakSentences(q->passage) : QString();
    const QStringList answers = q ? passage::answerList(q->answers) : QStringList();
    const passage::Shown shown = passage::showBlanks(passage::blankRuns(display, answers), answers, {});
    page.passage = shown.text;
    page.highlights = shown.highlights;
    page.phase = phase;
    return page;
}

// The page of a revealed question, its answers in place.
drill::Page revealedPage(const std::optional<store::Revealed>& r, const QStringList& headings)
{
    drill::Page page;
    page.headings = headings;
    const passage::Shown shown =
        r ? passage::showAnswers(passage::breakSentences(r->passage), passage::answerList(r->answers))
          : passage::Shown{};
    page.passage = shown.text;
    page.highlights = shown.highlights;
    page.phase = drill::Phase::Revealed;
    return page;
}

// What the quiz window does with a page.
void showPage(QuizWindow& quiz, const drill::Page& page)
{
    for (int i = 0; i < 3; ++i) {
        quiz.headingLine(i)->setText(page.headings.value(i));
        quiz.headingLine(i)->setCursorPosition(0);
    }
    quiz.passageBox()->showPassage(page.passage, page.highlights);
    quiz.answerButton()->setEnabled(page.answerEnabled());
    quiz.nextButton()->setEnabled(page.nextEnabled());
    quiz.againButton()->setVisible(page.againVisible());
}

// A launch: both windows hidden while the program works, then the first page on the quiz screen, shown with the
// focus on its first heading line.
void launchWith(Program& program, const std::function<std::optional<store::Question>()>& choose)
{
    program.menu().hide();
    program.quiz().hide();
    const std::optional<store::Question> q = choose();
    if (!q)
        return;
    showPage(program.quiz(), blankedPage(q, drill::Phase::Blanked, {}));
    program.quiz().show();
    program.quiz().activateWindow();
    program.quiz().focusOn(drill::Focus::Heading);
}

void showNext(Program& program, const std::optional<store::Question>& q)
{
    if (!q)
        return;
    showPage(program.quiz(), blankedPage(q, drill::Phase::Blanked, program.session.page().headings));
    program.quiz().focusOn(drill::Focus::Heading);
}

void showAgain(Program& program, const std::optional<store::Question>& q)
{
    showPage(program.quiz(), blankedPage(q, drill::Phase::BlankedAgain, program.session.page().headings));
    program.quiz().focusOn(drill::Focus::AnswerButton);
}

void showRevealed(Program& program, const std::optional<store::Revealed>& r)
{
    showPage(program.quiz(), revealedPage(r, program.session.page().headings));
}

// Puts the file back as it was written before each repetition of a reset, so every repetition clears the same
// flags. Rewriting the rows by SQL would take longer than the resets themselves at 100,000 questions, so the bytes
// of a copy taken after writing are put back in place: the same file (same inode), which nothing holds locked between
// operations. The connections notice the change by the file's change counter and drop their page caches, each alike.
class Restorer
{
public:
    Restorer(const QString& path, const QByteArray& key)
        : m_path(path), m_copy(path + QStringLiteral(".as-written")), m_db(store::Connection::openExisting(path, key))
    {
        QFile::remove(m_copy);
        if (!QFile::copy(m_path, m_copy))
            throw store::StoreError(store::FailureKind::Other, QStringLiteral("cannot copy %1").arg(m_path));
    }
    ~Restorer() { QFile::remove(m_copy); }

    void asWritten()
    {
        QFile from(m_copy);
        QFile to(m_path);
        if (!from.open(QIODevice::ReadOnly) || !to.open(QIODevice::ReadWrite))
            throw store::StoreError(store::FailureKind::Other, QStringLiteral("cannot put %1 back").arg(m_path));
        QByteArray chunk;
        while (!(chunk = from.read(1 << 20)).isEmpty()) {
            if (to.write(chunk) != chunk.size())
                throw store::StoreError(store::FailureKind::DiskFull, QStringLiteral("cannot write %1").arg(m_path));
        }
        to.resize(from.size());
        to.flush();
        // On the disk before the next timed operation, whose own syncs would otherwise wait for these writes.
        ::fdatasync(to.handle());
    }

    void openQuestion(qint64 no)
    {
        store::Statement s(m_db, "UPDATE 問題 SET 済 = 0, 直近 = 0 WHERE Ｎｏ = ?1");
        s.bind(1, no);
        s.next();
    }

    qint64 position(qint64 no)
    {
        store::Statement s(m_db,
                           "SELECT count(*) FROM 問題 WHERE rowid <= (SELECT min(rowid) FROM 問題 WHERE Ｎｏ = ?1)");
        s.bind(1, no);
        return s.next() ? s.integer(0) : 0;
    }

    // Whether the operation just ended left the file as it should: no lock held (another connection gets an
    // exclusive lock at once) and no journal, write-ahead log or shared-memory file beside it.
    QString leftBehind()
    {
        for (const char* suffix : {"-journal", "-wal", "-shm"}) {
            if (QFile::exists(m_path + QLatin1String(suffix)))
                return QStringLiteral("a %1 file is left beside the file").arg(QLatin1String(suffix));
        }
        sqlite3_busy_timeout(m_db.handle(), 0);
        QString problem;
        try {
            m_db.exec("BEGIN EXCLUSIVE");
            m_db.exec("COMMIT");
        } catch (const store::StoreError& e) {
            problem = QStringLiteral("the file is still locked (%1)").arg(e.message());
        }
        sqlite3_busy_timeout(m_db.handle(), 2000);
        return problem;
    }

    qint64 count(const char* sql)
    {
        store::Statement s(m_db, sql);
        return s.next() ? s.integer(0) : 0;
    }

private:
    QString m_path;
    QString m_copy;
    store::Connection m_db;
};

QString group(qint64 n)
{
    return QLocale(QLocale::English).toString(n);
}

} // namespace

QList<Row> timeOperations(const QString& folder, int questions, const Settings& settings, QStringList& notes,
                          QStringList& problems)
{
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder);
    const QString path = QDir(folder).filePath(store::databaseFileName());
    const QByteArray key = store::passwordOf(store::connectString());
    const QString lockFilePath = QDir(folder).filePath(QStringLiteral("instance.lock"));
    const QString size = group(questions);

    // Every box the drill raises is answered Yes (or OK); the ones a normal drill does not raise are reported.
    static const QStringList expected = {
        QStringLiteral("今までの記録（どの問題を見たか）を削除してよろしいですか？"),
        QStringLiteral("今までの記録を削除しました"),
    };
    seam::setBoxHandler([&problems, size](const QString& text, seam::Style style, const QString&) {
        const bool confirmation = text.contains(QStringLiteral("出題します"));
        if (!confirmation && !expected.contains(text))
            problems << QStringLiteral("%1 questions: unexpected message \"%2\"").arg(size, text);
        return style == seam::YesNo ? int(seam::Yes) : int(seam::Ok);
    });
    seam::setEndHandler([](int) { programEnded = true; });
    programEnded = false;

    QList<Row> rows;
    auto row = [&](const QString& name, Kind kind) -> Row& {
        rows.append(Row{name, kind, questions, {}, {}, {}, false});
        return rows.last();
    };

    // ---- start-up: a new store, session and windows each time; all three variants derive the key ----
    {
        Row& r = row(QStringLiteral("start-up (startUp)"), Kind::StartUp);
        std::unique_ptr<Program> fresh;
        std::unique_ptr<LimitStore> limit;
        const auto build = [&] { fresh = std::make_unique<Program>(lockFilePath); };
        const auto drop = [&] {
            fresh.reset();
            limit.reset();
        };
        bool started = true;
        measure({Variant{[&] { started = fresh->session.startUp() && started; }, settings.startupReps, &r.ours, build,
                         drop},
                 Variant{[&] {
                             limit = std::make_unique<LimitStore>(path, key);
                             showFirstMenu(*fresh);
                         },
                         settings.startupReps, &r.limit, build, drop},
                 Variant{[&] {
                             literal::trialOpen(path, key);
                             showFirstMenu(*fresh);
                         },
                         settings.startupReps, &r.literal, build, drop}},
                true);
        if (!started)
            problems << QStringLiteral("%1 questions: the start-up ended the program").arg(size);
    }

    Program program(lockFilePath);
    drill::DrillSession& session = program.session;
    MenuWindow& menu = program.menu();
    QuizWindow& quiz = program.quiz();
    if (!session.startUp()) {
        problems << QStringLiteral("%1 questions: the menu did not start").arg(size);
        QDir::setCurrent(previous);
        return rows;
    }
    LimitStore limit(path, key);
    Restorer restore(path, key);
    const auto released = [&](const QString& operation) {
        return std::function<void()>([&, operation] {
            const QString problem = restore.leftBehind();
            if (!problem.isEmpty())
                problems << QStringLiteral("%1 questions, %2: %3").arg(size, operation, problem);
        });
    };
    settle();

    // ---- section list: the learner leaves the chapter list ----
    pick(menu.partSelector(), drillPart);
    session.leavePartSelector();
    pick(menu.chapterSelector(), drillChapter);
    {
        Row& r = row(QStringLiteral("section list (leaveChapterSelector)"), Kind::Click);
        // The learner picks すべて after each, as before a launch.
        const auto again = [&] { pick(menu.sectionSelector(), kAll); };
        measure(
            {Variant{[&] { session.leaveChapterSelector(); }, settings.reps, &r.ours, {}, again, released(r.operation)},
             Variant{[&] { showSections(program, limit.sections(drillPart, drillChapter)); },
                     settings.reps,
                     &r.limit,
                     {},
                     again},
             Variant{[&] { showSections(program, literal::sections(path, key, drillPart, drillChapter)); },
                     settings.reps,
                     &r.literal,
                     {},
                     again}},
            true);
    }

    chooseRange(program, drillPart, drillChapter, kAll);
    const store::Range chapterRange = session.range();
    // Back on the menu, whichever variant left the quiz screen on show.
    const auto backToMenu = [&] {
        session.backToMenu();
        quiz.hide();
        menu.show();
        menu.activateWindow();
    };

    // ---- launch: probe, confirmation, selection, the first page ----
    {
        Row& r = row(QStringLiteral("launch (startDrill)"), Kind::Click);
        measure({Variant{[&] { session.startDrill(); }, settings.reps, &r.ours, {}, backToMenu, released(r.operation)},
                 Variant{[&] {
                             launchWith(program, [&] {
                                 limit.probe(chapterRange.part, chapterRange.chapter);
                                 return limit.next(chapterRange);
                             });
                         },
                         settings.reps,
                         &r.limit,
                         {},
                         backToMenu},
                 Variant{[&] {
                             // The described launch opens the file for its probe, and the selection opens it again.
                             launchWith(program, [&] {
                                 literal::probe(path, key, chapterRange.part, chapterRange.chapter);
                                 return literal::next(path, key, chapterRange);
                             });
                         },
                         settings.reps,
                         &r.literal,
                         {},
                         backToMenu}},
                true);
    }

    // The same question, whoever chooses it.
    const auto sameChoice = [&](const store::Range& range, const QString& what) {
        const qint64 ours = session.shownNo();
        const auto fromLimit = limit.next(range);
        const auto fromLiteral = literal::next(path, key, range);
        const auto noOf = [](const std::optional<store::Question>& q) {
            return q ? QString::number(q->no) : QStringLiteral("none");
        };
        if (!fromLimit || !fromLiteral || fromLimit->no != ours || fromLiteral->no != ours)
            problems << QStringLiteral("%1 questions, %2: ours chose Ｎｏ %3, the limit %4, the literal %5")
                            .arg(size, what, QString::number(ours), noOf(fromLimit), noOf(fromLiteral));
    };

    // Before a repetition, untimed: the question on show revealed, or blanked again, by the session's own actions
    // as the learner gets there; on the screen as the session has it (a reference leaves its own page behind); and
    // open again in the file as it was written, so that every repetition reads and writes the same rows.
    const auto onShow = [&](bool revealed) {
        return std::function<void()>([&, revealed] {
            if (revealed && !session.page().againVisible())
                session.revealAnswers();
            else if (!revealed && !session.page().answerEnabled())
                session.showQuestionAgain();
            showPage(quiz, session.page());
            restore.openQuestion(session.shownNo());
        });
    };
    const auto revealedOnShow = onShow(true);
    const auto blankedOnShow = onShow(false);

    // ---- next question: from a revealed question, the same one chosen again each time ----
    const auto nextQuestion = [&](const QString& name, const store::Range& range) {
        Row& r = row(name, Kind::Click);
        measure({Variant{[&] { session.showNextQuestion(); },
                         settings.reps,
                         &r.ours,
                         revealedOnShow,
                         {},
                         released(r.operation)},
                 Variant{[&] { showNext(program, limit.next(range)); }, settings.reps, &r.limit, revealedOnShow},
                 Variant{[&] { showNext(program, literal::next(path, key, range)); }, settings.reps, &r.literal,
                         revealedOnShow}},
                true);
    };
    session.startDrill();
    sameChoice(chapterRange, QStringLiteral("chapter"));
    nextQuestion(QStringLiteral("next question, chapter (showNextQuestion)"), chapterRange);

    backToMenu();
    chooseRange(program, kAll, kAll, QString());
    const store::Range wholeRange = session.range();
    session.startDrill();
    sameChoice(wholeRange, QStringLiteral("whole Act"));
    nextQuestion(QStringLiteral("next question, whole Act (showNextQuestion)"), wholeRange);

    backToMenu();
    chooseRange(program, drillPart, drillChapter, kAll);
    session.startDrill();

    notes << QStringLiteral("%1 questions: 済 = 1 on %2 rows, 直近 = 1 on %3 rows as written")
                 .arg(size, group(restore.count("SELECT count(*) FROM 問題 WHERE 済 = 1")),
                      group(restore.count("SELECT count(*) FROM 問題 WHERE 直近 = 1")));
    const qint64 shown = session.shownNo();
    {
        // What the screen work of the displays depends on: the length of the passage and its blanks.
        const std::optional<store::Question> q = limit.find(shown);
        const QList<passage::Run> runs =
            q ? passage::blankRuns(passage::breakSentences(q->passage), passage::answerList(q->answers))
              : QList<passage::Run>();
        const auto blanks =
            std::count_if(runs.cbegin(), runs.cend(), [](const passage::Run& r) { return r.number != 0; });
        notes << QStringLiteral("%1 questions: the question on show (Ｎｏ %2, %3 characters, %4 answers, %5 blanks) is "
                                "row %6 in stored order")
                     .arg(size, QString::number(shown))
                     .arg(q ? q->passage.size() : 0)
                     .arg(q ? passage::answerList(q->answers).size() : 0)
                     .arg(blanks)
                     .arg(group(restore.position(shown)));
    }

    // ---- repeat display: from the revealed question ----
    {
        Row& r = row(QStringLiteral("repeat display (showQuestionAgain)"), Kind::Click);
        measure({Variant{[&] { session.showQuestionAgain(); },
                         settings.reps,
                         &r.ours,
                         revealedOnShow,
                         {},
                         released(r.operation)},
                 Variant{[&] { showAgain(program, limit.find(shown)); }, settings.reps, &r.limit, revealedOnShow},
                 Variant{[&] { showAgain(program, literal::find(path, key, shown)); }, settings.reps, &r.literal,
                         revealedOnShow}},
                true);
    }

    // ---- reveal: every repetition turns an open question into a revealed one ----
    {
        Row& r = row(QStringLiteral("reveal (revealAnswers)"), Kind::Click);
        measure(
            {Variant{
                 [&] { session.revealAnswers(); }, settings.reps, &r.ours, blankedOnShow, {}, released(r.operation)},
             Variant{[&] { showRevealed(program, limit.reveal(shown)); }, settings.reps, &r.limit, blankedOnShow},
             Variant{[&] { showRevealed(program, literal::reveal(path, key, shown)); }, settings.reps, &r.literal,
                     blankedOnShow}},
            true);
    }
    if (session.shownNo() != shown)
        problems << QStringLiteral("%1 questions: the question on show changed from Ｎｏ %2 to %3 during the displays")
                        .arg(size, QString::number(shown), QString::number(session.shownNo()));

    // ---- the two resets, each repetition on the flags the file was written with ----
    const auto reset = [&](const QString& name, store::Flag flag, const std::function<void()>& ours) {
        Row& r = row(name, Kind::Reset);
        qint64 written = 0;
        const auto flags = [&] { restore.asWritten(); };
        measure({Variant{ours, settings.resetReps, &r.ours, flags, {}, released(r.operation)},
                 Variant{[&] { limit.clear(flag); }, settings.resetReps, &r.limit, flags},
                 Variant{[&] { written = literal::clear(path, key, flag, settings.literalRowCap); },
                         settings.literalResetReps, &r.literal, flags}},
                false);
        if (written > 0 && written < questions) {
            r.literal.scale = double(questions) / double(written);
            r.literalExtrapolated = true;
        }
        restore.asWritten();
    };
    backToMenu();
    reset(QStringLiteral("記録削除 (clearRecord)"), store::Flag::Done, [&] { session.clearRecord(); });
    // Quitting clears 直近 this way before the program ends; quitting itself would end the benchmark.
    reset(QStringLiteral("直近 cleared on quitting (clearFlag)"), store::Flag::Recent,
          [&] { program.store.clearFlag(store::Flag::Recent); });

    if (programEnded)
        problems << QStringLiteral("%1 questions: the program asked to end").arg(size);

    menu.hide();
    quiz.hide();
    settle();
    QDir::setCurrent(previous);
    return rows;
}

} // namespace bench
