#include "Operations.h"

#include "Corpus.h"
#include "References.h"
#include "app/MenuWindow.h"
#include "app/Screens.h"
#include "app/StatusWindow.h"
#include "drill/ChapterTable.h"
#include "drill/DrillSession.h"
#include "drill/MessageSeam.h"
#include "drill/PassageText.h"
#include "quiz/PassageBox.h"
#include "quiz/QuizWindow.h"
#include "store/QuestionStore.h"
#include "store/StoreError.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
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
// The drill takes place on the last day of the files' reveal log.
struct Program
{
    explicit Program(const QString& lockFilePath) : session(store, lockFilePath), screens(session)
    {
        session.setClock([] { return corpusDay; });
    }

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
    page.marked = q && !q->markedOn.isEmpty();
    page.important = q && q->tier == QLatin1String("A");
    return page;
}

// The page of a revealed question, its answers in place; the headings and the tier stay those of the page before.
drill::Page revealedPage(const std::optional<store::Revealed>& r, const drill::Page& before)
{
    drill::Page page;
    page.headings = before.headings;
    page.important = before.important;
    page.markable = r.has_value();
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
    quiz.reviewMark()->setVisible(page.marked);
    quiz.importantMark()->setVisible(page.important);
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
    showPage(program.quiz(), revealedPage(r, program.session.page()));
}

// X: the page on show with its 要復習 mark.
void showMarked(Program& program)
{
    drill::Page page = program.session.page();
    page.marked = true;
    showPage(program.quiz(), page);
}

// Ctrl+Z: the question held in memory blanked again, marked as the reveal found it, the focus on 解答.
void showTakenBack(Program& program, const store::Question& q)
{
    drill::Page page = blankedPage(q, drill::Phase::BlankedAgain, {});
    showPage(program.quiz(), page);
    program.quiz().focusOn(drill::Focus::AnswerButton);
}

// The status the 学習状況 window shows, made from a reference's reads as the session makes it from the store's, for
// a range of a chapter on a file with tiers and marks.
drill::StudyStatus statusOf(const StatusReads& reads, const store::Range& picked, const QDate& today)
{
    drill::StudyStatus status;
    status.today = today;
    status.hasTiers = true;
    status.hasMarks = true;
    const auto add = [](drill::StudyStatus::Row& row, const store::ChapterProgress& c) {
        row.all += c.all;
        row.tierA += c.tierA;
    };
    QHash<QString, qsizetype> partAt;
    for (const QString& part : chapters::partList()) {
        if (part == kAll)
            continue;
        partAt.insert(part, status.parts.size());
        status.parts.append({part});
    }
    status.chapterPart = picked.part;
    for (const QString& chapter : chapters::chaptersOf(picked.part)) {
        if (chapter != kAll)
            status.chapters.append({chapter});
    }
    for (const store::ChapterProgress& c : reads.chapters) {
        if (const auto it = partAt.constFind(c.part); it != partAt.constEnd())
            add(status.parts[*it], c);
        if (c.part != status.chapterPart || c.chapter.isEmpty())
            continue;
        auto row = std::find_if(status.chapters.begin(), status.chapters.end(),
                                [&](const drill::StudyStatus::Row& r) { return r.title == c.chapter; });
        if (row == status.chapters.end()) {
            status.chapters.append({c.chapter});
            row = status.chapters.end() - 1;
        }
        add(*row, c);
    }
    status.days = QList<int>(drill::StudyStatus::kDays, 0);
    const QDate first = today.addDays(1 - drill::StudyStatus::kDays);
    for (const store::DayCount& day : reads.days)
        status.days[first.daysTo(day.day)] = day.reveals;
    status.rangeTitle = picked.part + QStringLiteral(" ／ ") + picked.chapter;
    status.rangeNotDone = reads.rangeNotDone;
    return status;
}

// Tells when a window just shown has been painted for the first time, as the learner first sees it.
class FirstPaint final : public QObject
{
public:
    explicit FirstPaint(QWidget& window) : m_window(window) { window.installEventFilter(this); }
    ~FirstPaint() override { m_window.removeEventFilter(this); }
    FirstPaint(const FirstPaint&) = delete;
    FirstPaint& operator=(const FirstPaint&) = delete;

    // Lets the event loop run until the window has been painted; false when it was not within two seconds.
    bool wait()
    {
        QElapsedTimer clock;
        clock.start();
        while (!m_painted && clock.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        return m_painted;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The whole window is painted in the same pass as its top, before the event loop returns.
        if (watched == &m_window && event->type() == QEvent::Paint)
            m_painted = true;
        return false;
    }

private:
    QWidget& m_window;
    bool m_painted = false;
};

// 学習状況 as the menu opens it, shown instead of run modally: built on the status and shown on top of the menu,
// up to its first paint.
std::unique_ptr<StatusWindow> openStatusWindow(Program& program, const drill::StudyStatus& status, bool& painted)
{
    auto window = std::make_unique<StatusWindow>(status, &program.menu());
    FirstPaint paint(*window);
    window->show();
    painted = paint.wait() && painted;
    return window;
}

// Puts the file back as it was written before each repetition of a reset, so every repetition clears the same
// flags. Rewriting the rows by SQL would take longer than the resets themselves at 100,000 questions, so the bytes
// of a copy taken after writing are put back in place: the same file (same inode), which nothing holds locked between
// operations. The connections notice the change by the file's change counter and drop their page caches, each alike.
class Restorer
{
public:
    Restorer(const QString& path, const QByteArray& key, const QDate& day)
        : m_path(path), m_copy(path + QStringLiteral(".as-written")), m_db(store::Connection::openExisting(path, key)),
          m_day(day.toString(Qt::ISODate))
    {
        QFile::remove(m_copy);
        if (!QFile::copy(m_path, m_copy))
            throw store::StoreError(store::FailureKind::Other, QStringLiteral("cannot copy %1").arg(m_path));
        // What the questions' rows alone do not say: the marks and the day's count of reveals as written.
        store::Statement marks(m_db, "SELECT Ｎｏ, 日付 FROM 要復習");
        while (marks.next())
            m_marks.insert(marks.integer(0), marks.text(1));
        store::Statement count(m_db, "SELECT 解答数 FROM 解答記録 WHERE 日付 = ?1");
        count.bind(1, m_day);
        m_dayCount = count.next() ? count.integer(0) : 0;
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

    // The question open again, with its 要復習 mark as written, and the day's count of reveals as written.
    void openQuestion(qint64 no)
    {
        store::Transaction transaction(m_db);
        {
            store::Statement s(m_db, "UPDATE 問題 SET 済 = 0, 直近 = 0 WHERE Ｎｏ = ?1");
            s.bind(1, no);
            s.next();
        }
        const QString mark = m_marks.value(no);
        store::Statement s(m_db, mark.isEmpty() ? "DELETE FROM 要復習 WHERE Ｎｏ = ?1"
                                                : "INSERT OR REPLACE INTO 要復習 (Ｎｏ, 日付) VALUES (?1, ?2)");
        s.bind(1, no);
        if (!mark.isEmpty())
            s.bind(2, mark);
        s.next();
        store::Statement count(m_db, "INSERT OR REPLACE INTO 解答記録 (日付, 解答数) VALUES (?1, ?2)");
        count.bind(1, m_day).bind(2, m_dayCount);
        count.next();
        transaction.commit();
    }

    QString markAsWritten(qint64 no) const { return m_marks.value(no); }
    qsizetype marks() const { return m_marks.size(); }
    // How many marks come before this Ｎｏ: the rows the 要復習だけ selection walks before it.
    qsizetype marksBefore(qint64 no) const
    {
        return std::count_if(m_marks.keyBegin(), m_marks.keyEnd(), [no](qint64 marked) { return marked < no; });
    }

    // What the writes of a click leave of a question: its flags, its mark and the day's count of reveals.
    QString state(qint64 no)
    {
        store::Statement s(m_db, "SELECT 済, 直近, (SELECT 日付 FROM 要復習 WHERE Ｎｏ = ?1),"
                                 " (SELECT 解答数 FROM 解答記録 WHERE 日付 = ?2) FROM 問題 WHERE Ｎｏ = ?1");
        s.bind(1, no).bind(2, m_day);
        if (!s.next())
            return QStringLiteral("no row");
        return QStringLiteral("済 = %1, 直近 = %2, 要復習 %3, %4 reveals on the day")
            .arg(s.integer(0))
            .arg(s.integer(1))
            .arg(s.isNull(2) ? QStringLiteral("none") : s.text(2))
            .arg(s.integer(3));
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

    // The questions of a chapter before this Ｎｏ that a drill with 今まで見た問題を外す would still offer.
    qint64 openBefore(const QString& part, const QString& chapter, qint64 no)
    {
        store::Statement s(m_db, "SELECT count(*) FROM 問題 WHERE 編 = ?1 AND 章 = ?2 AND 直近 = 0 AND 済 = 0"
                                 " AND Ｎｏ < ?3");
        s.bind(1, part).bind(2, chapter).bind(3, no);
        return s.next() ? s.integer(0) : 0;
    }

private:
    QString m_path;
    QString m_copy;
    store::Connection m_db;
    QString m_day;
    QHash<qint64, QString> m_marks;
    qint64 m_dayCount = 0;
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
        rows.append(Row{name, kind, questions, {}, {}, {}, false, {}});
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
    Restorer restore(path, key, corpusDay);
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
    const auto nextQuestion = [&](const QString& name, const store::Range& range, const QString& goal = {}) {
        Row& r = row(name, Kind::Click);
        r.goal = goal;
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

    // A click that writes, with the same check for the three: after the first timed repetition of each, the
    // question's flags, its mark and the day's count of reveals must be the same. The question is put back after.
    const auto clickThatWrites = [&](const QString& name, qint64 no, const std::function<void()>& before,
                                     const std::function<void()>& ours, const std::function<void()>& byLimit,
                                     const std::function<void()>& byLiteral) {
        Row& r = row(name, Kind::Click);
        r.goal = kWritesGoal;
        std::array<QString, 3> left;
        const std::function<void()> oursReleased = released(r.operation);
        measure({Variant{ours,
                         settings.reps,
                         &r.ours,
                         before,
                         {},
                         [&] {
                             oursReleased();
                             left[0] = restore.state(no);
                         }},
                 Variant{byLimit, settings.reps, &r.limit, before, {}, [&] { left[1] = restore.state(no); }},
                 Variant{byLiteral, settings.reps, &r.literal, before, {}, [&] { left[2] = restore.state(no); }}},
                true);
        if (left[1] != left[0] || left[2] != left[0])
            problems << QStringLiteral("%1 questions, %2: ours left %3; the limit %4; the literal %5")
                            .arg(size, name, left[0], left[1], left[2]);
        restore.openQuestion(no);
    };

    // ---- reveal: every repetition turns an open question into a revealed one and counts it on the day ----
    clickThatWrites(
        QStringLiteral("reveal (revealAnswers)"), shown, blankedOnShow, [&] { session.revealAnswers(); },
        [&] { showRevealed(program, limit.reveal(shown, corpusDay)); },
        [&] { showRevealed(program, literal::reveal(path, key, shown, corpusDay)); });
    if (session.shownNo() != shown)
        problems << QStringLiteral("%1 questions: the question on show changed from Ｎｏ %2 to %3 during the displays")
                        .arg(size, QString::number(shown), QString::number(session.shownNo()));

    // ---- 重要問題だけ: the next question among the chapter's tier-A questions ----
    backToMenu();
    menu.importantOnlyBox()->setChecked(true);
    session.startDrill();
    const store::Range importantRange = session.range();
    if (!importantRange.importantOnly)
        problems << QStringLiteral("%1 questions: 重要問題だけ was not taken").arg(size);
    sameChoice(importantRange, QStringLiteral("重要問題だけ"));
    {
        const qint64 important = session.shownNo();
        const std::optional<store::Question> first = limit.find(shown);
        notes << QStringLiteral(
                     "%1 questions: the chapter's first open question (Ｎｏ %2) is tier %3; with 重要問題だけ "
                     "the drill starts at Ｎｏ %4, after %5 open questions of the chapter")
                     .arg(size, QString::number(shown), first ? first->tier : QStringLiteral("?"),
                          QString::number(important), group(restore.openBefore(drillPart, drillChapter, important)));
    }
    nextQuestion(QStringLiteral("next question, chapter, 重要問題だけ (showNextQuestion)"), importantRange,
                 kImportantGoal);
    restore.openQuestion(session.shownNo());
    backToMenu();
    menu.importantOnlyBox()->setChecked(false);

    // ---- 要復習だけ: the next question among the chapter's marked questions ----
    menu.markedOnlyBox()->setChecked(true);
    session.startDrill();
    const store::Range markedRange = session.range();
    sameChoice(markedRange, QStringLiteral("要復習だけ"));
    const qint64 marked = session.shownNo();
    notes << QStringLiteral("%1 questions: %2 marked 要復習 as written; with 要復習だけ the drill starts at Ｎｏ %3 "
                            "(marked %4), the mark %5 in Ｎｏ order")
                 .arg(size, group(restore.marks()), QString::number(marked), restore.markAsWritten(marked),
                      group(restore.marksBefore(marked) + 1));
    nextQuestion(QStringLiteral("next question, chapter, 要復習だけ (showNextQuestion)"), markedRange);
    if (session.shownNo() != marked)
        problems << QStringLiteral("%1 questions: 要復習だけ moved from Ｎｏ %2 to %3")
                        .arg(size, QString::number(marked), QString::number(session.shownNo()));

    // ---- the marked question revealed, marked again with X, and its reveal taken back with Ctrl+Z ----
    clickThatWrites(
        QStringLiteral("reveal of a marked question (revealAnswers)"), marked, blankedOnShow,
        [&] { session.revealAnswers(); }, [&] { showRevealed(program, limit.reveal(marked, corpusDay)); },
        [&] { showRevealed(program, literal::reveal(path, key, marked, corpusDay)); });

    // Before X and Ctrl+Z, untimed: the question open and marked as written, then revealed by the session.
    const auto revealedAfresh = [&] {
        if (!session.page().answerEnabled())
            session.showQuestionAgain();
        restore.openQuestion(session.shownNo());
        session.revealAnswers();
        showPage(quiz, session.page());
    };
    clickThatWrites(
        QStringLiteral("X, marked 要復習 (toggleMark)"), marked, revealedAfresh, [&] { session.toggleMark(); },
        [&] {
            limit.mark(marked, corpusDay);
            showMarked(program);
        },
        [&] {
            literal::mark(path, key, marked, corpusDay);
            showMarked(program);
        });

    // What the reveal found and Ctrl+Z puts back, and the question as the session holds it in memory.
    const store::Revealed foundByReveal{{}, {}, 0, 0, restore.markAsWritten(marked)};
    const std::optional<store::Question> heldQuestion = limit.find(marked);
    if (heldQuestion) {
        clickThatWrites(
            QStringLiteral("Ctrl+Z, reveal taken back (undoReveal)"), marked, revealedAfresh,
            [&] { session.undoReveal(); },
            [&] {
                limit.undoReveal(marked, foundByReveal, corpusDay);
                showTakenBack(program, *heldQuestion);
            },
            [&] {
                literal::undoReveal(path, key, marked, foundByReveal, corpusDay);
                showTakenBack(program, *heldQuestion);
            });
    } else {
        problems << QStringLiteral("%1 questions: Ｎｏ %2 cannot be read").arg(size, QString::number(marked));
    }
    backToMenu();
    menu.markedOnlyBox()->setChecked(false);

    // ---- 学習状況: read from the file, built, shown and painted, over the chapter's range ----
    {
        Row& r = row(QStringLiteral("学習状況 opened (studyStatus, StatusWindow)"), Kind::Window);
        const store::Range picked = session.range();
        const QDate from = corpusDay.addDays(1 - drill::StudyStatus::kDays);
        std::unique_ptr<StatusWindow> window;
        bool painted = true;
        std::array<QString, 3> shownText;
        const auto textInto = [&](int k) {
            return std::function<void()>([&, k] { shownText[size_t(k)] = window ? window->text() : QString(); });
        };
        const std::function<void()> oursReleased = released(r.operation);
        // Before each, a write (untimed): every connection starts with its page cache dropped, as after a drill.
        const auto fresh = [&] { restore.openQuestion(shown); };
        const auto close = [&] { window.reset(); };
        measure({Variant{[&] {
                             // What the menu's 学習状況 does, but shown instead of run modally.
                             if (const std::optional<drill::StudyStatus> status = session.studyStatus())
                                 window = openStatusWindow(program, *status, painted);
                         },
                         settings.reps, &r.ours, fresh, close,
                         [&] {
                             oursReleased();
                             textInto(0)();
                         }},
                 Variant{[&] {
                             window = openStatusWindow(
                                 program, statusOf(limit.status(picked, from, corpusDay), picked, corpusDay), painted);
                         },
                         settings.reps, &r.limit, fresh, close, textInto(1)},
                 Variant{[&] {
                             window = openStatusWindow(
                                 program,
                                 statusOf(literal::status(path, key, picked, from, corpusDay), picked, corpusDay),
                                 painted);
                         },
                         settings.reps, &r.literal, fresh, close, textInto(2)}},
                true);
        if (shownText[0].isEmpty() || shownText[1] != shownText[0] || shownText[2] != shownText[0])
            problems << QStringLiteral(
                            "%1 questions: 学習状況 shows other figures from ours, the limit and the literal")
                            .arg(size);
        if (!painted)
            problems << QStringLiteral("%1 questions: 学習状況 was not painted within two seconds").arg(size);
    }

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
