#include "Operations.h"

#include "Corpus.h"
#include "References.h"
#include "app/MenuWindow.h"
#include "drill/ChapterTable.h"
#include "drill/MessageSeam.h"
#include "drill/PassageText.h"
#include "quiz/Module1.h"
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

const QString kAll = QStringLiteral("すべて");

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

void pickText(QComboBox* combo, const QString& text)
{
    combo->setCurrentIndex(text.isEmpty() ? -1 : combo->findText(text, Qt::MatchExactly));
}

// Chooses a range on the menu as the learner does: part, leave the box, chapter, leave the box, section.
void chooseRange(MenuWindow& menu, const QString& part, const QString& chapter, const QString& section)
{
    pickText(menu.partSelector(), part);
    menu.leavePartSelector();
    pickText(menu.chapterSelector(), chapter);
    menu.leaveChapterSelector();
    pickText(menu.sectionSelector(), section);
}

store::Range rangeOf(const MenuWindow& menu)
{
    return {menu.partSelector()->currentText(), menu.chapterSelector()->currentText(),
            menu.sectionSelector()->currentText(), menu.excludeSeenValue()};
}

// What the section list puts on the menu once it has the sections.
void showSections(MenuWindow& menu, const QStringList& sections)
{
    if (!sections.isEmpty()) {
        menu.sectionSelector()->clear();
        menu.sectionSelector()->addItem(kAll);
        menu.sectionSelector()->addItems(sections);
        menu.sectionSelector()->setCurrentIndex(-1);
    }
    menu.show();
    menu.repaint();
}

// What the first display of a question puts on the screens once it has the row.
void showFirst(MenuWindow& menu, QuizWindow& form, const std::optional<store::Question>& q, bool launch)
{
    if (launch)
        menu.hide();
    if (!q)
        return;
    form.renderBlankedQuestion(*q);
    form.show();
    form.answerButton()->setEnabled(true);
    if (launch)
        form.activateWindow();
    form.partLine()->setFocus();
}

void showRepeated(QuizWindow& form, const std::optional<store::Question>& q)
{
    if (q)
        form.renderBlankedQuestion(*q);
    form.answerButton()->setEnabled(true);
    form.nextButton()->setEnabled(true);
    form.againButton()->hide();
    form.answerButton()->setFocus();
}

void showRevealed(QuizWindow& form, const std::optional<store::Revealed>& r)
{
    form.answerButton()->setEnabled(false);
    const QString display = r ? passage::breakSentences(r->passage) : QString();
    const QStringList answers = r ? passage::answerList(r->answers) : QStringList();
    Module1::showRevealed(*form.passageBox(), display, answers);
    form.nextButton()->setEnabled(true);
    form.againButton()->show();
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

    void openQuestion(const QString& noText)
    {
        store::Statement s(m_db, "UPDATE 問題 SET 済 = 0, 直近 = 0 WHERE Ｎｏ = ?1");
        s.bind(1, noText);
        s.next();
    }

    qint64 position(const QString& noText)
    {
        store::Statement s(m_db,
                           "SELECT count(*) FROM 問題 WHERE rowid <= (SELECT min(rowid) FROM 問題 WHERE Ｎｏ = ?1)");
        s.bind(1, noText);
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
    const MenuWindow::Options options{QDir(folder).filePath(QStringLiteral("instance.lock"))};
    const QString size = group(questions);

    // Every box the drill raises is answered Yes (or OK); the ones a normal drill does not raise are reported.
    static const QStringList expected = {
        QStringLiteral("今までの記録（どの問題を見たか）を削除してよろしいですか？"),
        QStringLiteral("今までの記録を削除しました"),
    };
    seam::setBoxHandler([&problems, size](const QString& text, int style, const QString&) {
        const bool confirmation = text.contains(QStringLiteral("出題します"));
        if (!confirmation && !expected.contains(text))
            problems << QStringLiteral("%1 questions: unexpected message \"%2\"").arg(size, text);
        return style == seam::YesNo ? int(seam::Yes) : int(seam::Ok);
    });
    seam::setEndHandler([] {});
    seam::resetEnded();

    QList<Row> rows;
    auto row = [&](const QString& name) -> Row& {
        rows.append(Row{name, questions, {}, {}, {}, false});
        return rows.last();
    };

    // ---- start-up: all three derive the key ----
    {
        Row& r = row(QStringLiteral("start-up (Form_Load)"));
        std::unique_ptr<store::QuestionStore> store;
        std::unique_ptr<MenuWindow> menu;
        std::unique_ptr<LimitStore> limit;
        const auto fresh = [&] {
            store = std::make_unique<store::QuestionStore>();
            menu = std::make_unique<MenuWindow>(*store, options);
        };
        const auto drop = [&] {
            menu.reset();
            limit.reset();
            store.reset();
        };
        const auto fillParts = [&] {
            menu->partSelector()->addItems(chapters::partList());
            menu->partSelector()->setCurrentIndex(-1);
        };
        bool loaded = true;
        measure({Variant{[&] { loaded = menu->startUp() && loaded; }, settings.startupReps, &r.ours, fresh, drop},
                 Variant{[&] {
                             limit = std::make_unique<LimitStore>(path, key);
                             fillParts();
                         },
                         settings.startupReps, &r.limit, fresh, drop},
                 Variant{[&] {
                             literal::trialOpen(path, key);
                             fillParts();
                         },
                         settings.startupReps, &r.literal, fresh, drop}},
                true);
        if (!loaded)
            problems << QStringLiteral("%1 questions: Form_Load ended the program").arg(size);
    }

    store::QuestionStore store;
    MenuWindow menu(store, options);
    if (!menu.startUp()) {
        problems << QStringLiteral("%1 questions: the menu did not load").arg(size);
        QDir::setCurrent(previous);
        return rows;
    }
    menu.show();
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

    // ---- section list ----
    {
        Row& r = row(QStringLiteral("section list (節一覧設定)"));
        const auto again = [&] { menu.sectionSelector()->setCurrentIndex(0); };
        measure({Variant{[&] { menu.fillSectionList(drillPart, drillChapter); },
                         settings.reps,
                         &r.ours,
                         {},
                         again,
                         released(r.operation)},
                 Variant{[&] { showSections(menu, limit.sections(drillPart, drillChapter)); },
                         settings.reps,
                         &r.limit,
                         {},
                         again},
                 Variant{[&] { showSections(menu, literal::sections(path, key, drillPart, drillChapter)); },
                         settings.reps,
                         &r.literal,
                         {},
                         again}},
                true);
    }

    chooseRange(menu, drillPart, drillChapter, kAll);
    const store::Range chapterRange = rangeOf(menu);
    QuizWindow& form = menu.quiz();
    const auto backToMenu = [&] { form.backToMenu(); };

    // ---- launch: probe, confirmation, selection, rendering ----
    {
        Row& r = row(QStringLiteral("launch (Command2_Click)"));
        measure({Variant{[&] { menu.startDrill(); }, settings.reps, &r.ours, {}, backToMenu, released(r.operation)},
                 Variant{[&] {
                             limit.probe(chapterRange.part, chapterRange.chapter);
                             showFirst(menu, form, limit.next(chapterRange), true);
                         },
                         settings.reps,
                         &r.limit,
                         {},
                         backToMenu},
                 Variant{[&] {
                             // The described launch opens the file for its probe, and the selection opens it again.
                             literal::probe(path, key, chapterRange.part, chapterRange.chapter);
                             showFirst(menu, form, literal::next(path, key, chapterRange), true);
                         },
                         settings.reps,
                         &r.literal,
                         {},
                         backToMenu}},
                true);
    }

    // The same question, whoever chooses it.
    const auto sameChoice = [&](const store::Range& range, const QString& what) {
        const QString ours = form.shownNoBox()->text();
        const auto fromLimit = limit.next(range);
        const auto fromLiteral = literal::next(path, key, range);
        if (!fromLimit || !fromLiteral || QString::number(fromLimit->no) != ours ||
            QString::number(fromLiteral->no) != ours)
            problems << QStringLiteral("%1 questions, %2: ours chose Ｎｏ %3, the limit %4, the literal %5")
                            .arg(size, what, ours, fromLimit ? QString::number(fromLimit->no) : QStringLiteral("none"),
                                 fromLiteral ? QString::number(fromLiteral->no) : QStringLiteral("none"));
    };

    // ---- next question, the chapter ----
    menu.startDrill();
    sameChoice(chapterRange, QStringLiteral("chapter"));
    {
        Row& r = row(QStringLiteral("next question, chapter (Command2_Click)"));
        measure({Variant{[&] { form.showNextQuestion(); }, settings.reps, &r.ours, {}, {}, released(r.operation)},
                 Variant{[&] { showFirst(menu, form, limit.next(chapterRange), false); }, settings.reps, &r.limit},
                 Variant{[&] { showFirst(menu, form, literal::next(path, key, chapterRange), false); }, settings.reps,
                         &r.literal}},
                true);
    }

    // ---- next question, the whole Act ----
    backToMenu();
    chooseRange(menu, kAll, kAll, QString());
    const store::Range wholeRange = rangeOf(menu);
    menu.startDrill();
    sameChoice(wholeRange, QStringLiteral("whole Act"));
    {
        Row& r = row(QStringLiteral("next question, whole Act (Command2_Click)"));
        measure({Variant{[&] { form.showNextQuestion(); }, settings.reps, &r.ours, {}, {}, released(r.operation)},
                 Variant{[&] { showFirst(menu, form, limit.next(wholeRange), false); }, settings.reps, &r.limit},
                 Variant{[&] { showFirst(menu, form, literal::next(path, key, wholeRange), false); }, settings.reps,
                         &r.literal}},
                true);
    }
    backToMenu();
    chooseRange(menu, drillPart, drillChapter, kAll);
    menu.startDrill();

    notes << QStringLiteral("%1 questions: 済 = 1 on %2 rows, 直近 = 1 on %3 rows as written")
                 .arg(size, group(restore.count("SELECT count(*) FROM 問題 WHERE 済 = 1")),
                      group(restore.count("SELECT count(*) FROM 問題 WHERE 直近 = 1")));
    const QString shown = form.shownNoBox()->text();
    {
        // What the screen work of the displays depends on: every blank is formatted on its own.
        const std::optional<store::Question> q = limit.find(shown);
        const QList<passage::Run> runs =
            q ? passage::blankRuns(passage::breakSentences(q->passage), passage::answerList(q->answers))
              : QList<passage::Run>();
        const auto blanks =
            std::count_if(runs.cbegin(), runs.cend(), [](const passage::Run& r) { return r.number != 0; });
        notes << QStringLiteral("%1 questions: the question on show (Ｎｏ %2, %3 characters, %4 answers, %5 blanks) is "
                                "row %6 in stored order")
                     .arg(size, shown)
                     .arg(q ? q->passage.size() : 0)
                     .arg(q ? passage::answerList(q->answers).size() : 0)
                     .arg(blanks)
                     .arg(group(restore.position(shown)));
    }

    // ---- repeat display ----
    {
        Row& r = row(QStringLiteral("repeat display (Command4_Click)"));
        measure({Variant{[&] { form.showQuestionAgain(); }, settings.reps, &r.ours, {}, {}, released(r.operation)},
                 Variant{[&] { showRepeated(form, limit.find(shown)); }, settings.reps, &r.limit},
                 Variant{[&] { showRepeated(form, literal::find(path, key, shown)); }, settings.reps, &r.literal}},
                true);
    }

    // ---- reveal: every repetition turns an open question into a revealed one ----
    {
        Row& r = row(QStringLiteral("reveal (Command1_Click)"));
        const auto reopen = [&] { restore.openQuestion(shown); };
        measure({Variant{[&] { form.revealAnswers(); }, settings.reps, &r.ours, reopen, {}, released(r.operation)},
                 Variant{[&] { showRevealed(form, limit.reveal(shown)); }, settings.reps, &r.limit, reopen},
                 Variant{[&] { showRevealed(form, literal::reveal(path, key, shown)); }, settings.reps, &r.literal,
                         reopen}},
                true);
    }

    // ---- the two resets, each repetition on the flags the file was written with ----
    const auto reset = [&](const QString& name, store::Flag flag, const std::function<void()>& ours) {
        Row& r = row(name);
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
    reset(QStringLiteral("記録削除 (Command3_Click)"), store::Flag::Done, [&] { menu.clearRecord(); });
    reset(QStringLiteral("直近初期化"), store::Flag::Recent, [&] { menu.clearRecentFlags(); });

    if (seam::programEnded())
        problems << QStringLiteral("%1 questions: the program asked to end").arg(size);

    backToMenu();
    menu.hide();
    settle();
    QDir::setCurrent(previous);
    return rows;
}

} // namespace bench
