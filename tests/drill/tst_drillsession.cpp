// The drill session without any window: start-up, the selectors, the launch, every move of the quiz screen, the
// resets and quitting, and what the learner is told when the file fails.
#include "drill/FailureText.h"
#include "store/Sqlite.h"
#include "support/Fixture.h"

#include <QDir>
#include <QLockFile>
#include <QTest>

using store::FailureKind;

namespace {

const QString BR = QStringLiteral("\r\n");
const QString kDamaged = QStringLiteral("この　ソラメモ.mdb　は壊れています。　再度ダウンロードしてください");
const QString kPickChapter = QStringLiteral("該当の編・章を選択してください。");
const QString kUnchanged = QStringLiteral("\r\n今までの記録は変更されていません。");
const QString kFull = QStringLiteral(
    "ディスクの空きが足りないため、記録を書き込めません。\r\n不要なファイルを削除して空きを作ってから、");
const QString kReadOnly = QStringLiteral("ソラメモ.mdb が読み取り専用になっているため、記録を書き込めません。\r\n"
                                         "ソラメモ.mdb の読み取り専用の設定を外してから、");

// The texts of the boxes, by the names the table of transitions gives them.
const QHash<QString, QString> kBoxes = {
    {"whole", QStringLiteral("会社法全体を範囲として出題します。 \r\n")},
    {"whole-important", QStringLiteral("会社法全体を範囲として出題します。 \r\n\r\n( 重要問題だけを出題します。)\r\n")},
    {"whole-marked",
     QStringLiteral("会社法全体を範囲として出題します。 \r\n\r\n( 要復習の問題だけを出題します。)\r\n")},
    {"both", QStringLiteral("会社法全体を範囲として出題します。 \r\n\r\n( 重要問題だけを出題します。)\r\n"
                            "\r\n( 要復習の問題だけを出題します。)\r\n")},
    {"part-option-important",
     QStringLiteral("編： 第二編 株式会社\r\n\r\nを範囲として出題します。 \r\n\r\n( 今までに出た問題は除きます。)\r\n"
                    "\r\n( 重要問題だけを出題します。)\r\n")},
    {"general-provisions",
     QStringLiteral("編： 第一編 総則\r\n章： 第二章 会社の商号\r\n\r\nを範囲として出題します。 \r\n")},
    {"part-option",
     QStringLiteral(
         "編： 第二編 株式会社\r\n\r\nを範囲として出題します。 \r\n\r\n( 今までに出た問題は除きます。)\r\n")},
    {"chapter", QStringLiteral("編： 第二編 株式会社\r\n章： 第四章 機関\r\n\r\nを範囲として出題します。 \r\n")},
    {"section",
     QStringLiteral("編： 第二編 株式会社\r\n章： 第四章 機関\r\n節： 第二節 株主総会以外の機関の設置\r\n\r\n"
                    "を範囲として出題します。 \r\n")},
    {"pick", kPickChapter},
    {"invalid", QStringLiteral("[ハルニレ KM] 対象範囲を選択してから、このボタンを押して下さい")},
    {"exhausted",
     QStringLiteral(
         "これらの条件の出題は全て実施済みです。\r\r条件を変えるか、記録を全てクリアしてから再度行い下さい")},
    {"damaged", kDamaged},
    {"busy-start",
     QStringLiteral("ソラメモ.mdb を他のプログラムが使用中のため、読み書きできません。\r\n"
                    "ソラメモ.mdb を使っている他のプログラムを終了してから、このＡＰを起動し直してください。")},
    {"back?", QStringLiteral("メニュー画面に戻りますか？")},
    {"full", kFull + QStringLiteral("もう一度操作してください。") + kUnchanged},
    {"null", QStringLiteral(
                 "この問題のデータが壊れているため、表示できません。\r\nメニュー画面に戻り、範囲を変えてください。") +
                 kUnchanged},
    {"null-read",
     QStringLiteral(
         "この問題のデータが壊れているため、表示できません。\r\nメニュー画面に戻り、範囲を変えてください。")},
    {"read-only", kReadOnly + QStringLiteral("もう一度操作してください。") + kUnchanged},
    {"undo-read-only", QStringLiteral("解答を取り消せませんでした。この問題は解答済みとして記録されたままです。\r\n") +
                           kReadOnly + QStringLiteral("もう一度 Ctrl+Z キーを押してください。")},
    {"clear?", QStringLiteral("今までの記録（どの問題を見たか）を削除してよろしいですか？")},
    {"cleared", QStringLiteral("今までの記録を削除しました")},
    {"quit?", QStringLiteral("終了して良いですか？")},
    {"running", QStringLiteral("既に起動されています。")},
    {"missing",
     QStringLiteral("★ ソラメモ.mdb が存在しません ★\r\n\r\nこのＡＰと同じフォルダ配下に ソラメモ.mdb を置いて下さい")},
    {"folder-start",
     QStringLiteral("ソラメモ.mdb のあるフォルダに書き込めないため、記録を保存できません。\r\n"
                    "このＡＰと ソラメモ.mdb を書き込みできるフォルダに移してから、起動し直してください。")},
    {"quit-failed",
     QStringLiteral("終了時に、今回見た問題の印を外せませんでした。\r\n") + kFull +
         QStringLiteral("このＡＰを起動し直してください。\r\n今回見た問題は、次に「終了」で終了するまで出題されません。"
                        "今までの記録は変更されていません。")},
};

// Flags set before the start, by name.
const QHash<QString, QString> kSetups = {
    {"seen", QStringLiteral("UPDATE 問題 SET 済 = 1, 直近 = 1 WHERE Ｎｏ IN (10, 20)")},
    {"all-recent", QStringLiteral("UPDATE 問題 SET 直近 = 1")},
    {"recent-but-100", QStringLiteral("UPDATE 問題 SET 直近 = 1 WHERE Ｎｏ < 100")},
    {"done-10", QStringLiteral("UPDATE 問題 SET 済 = 1 WHERE Ｎｏ = 10")},
    {"null-answers-10", QStringLiteral("UPDATE 問題 SET 回答 = NULL WHERE Ｎｏ = 10")},
    {"marks", QStringLiteral("CREATE TABLE 要復習 (Ｎｏ INTEGER PRIMARY KEY, 日付 TEXT NOT NULL);"
                             "INSERT INTO 要復習 VALUES (70, '2026-12-02'), (30, '2026-12-01'), (40, '2026-12-01');"
                             "UPDATE 問題 SET 直近 = 1 WHERE Ｎｏ = 40")},
    {"mark-10", QStringLiteral("CREATE TABLE 要復習 (Ｎｏ INTEGER PRIMARY KEY, 日付 TEXT NOT NULL);"
                               "INSERT INTO 要復習 VALUES (10, '2026-11-30')")},
    {"no-tiers",
     QStringLiteral("CREATE TABLE t AS SELECT Ｎｏ, 済, 直近, 編, 章, 節, 款, 条, 定義, 問題, 回答 FROM 問題;"
                    "DROP TABLE 問題; ALTER TABLE t RENAME TO 問題")},
    {"sections-of-5",
     QStringLiteral("INSERT INTO 目次 VALUES ('第二編 株式会社', '第五章 計算等', '第一節 会計の原則', 1)")},
};

// One transition a line: name | setup | the learner's actions | where the session ends up | what the last action
// showed: its boxes (after "watch", each with the quiz screen's usable buttons under it, in brackets) or 問題開始's
// tooltip, "_" for a space | the rows of the file it changed. "drill" starts up and launches the whole Act, option off.
const char* const kTransitions = R"(
start-up, sound file                        |                 | start                                    | menu @start              |       |
start-up, a copy already running            | running         | start                                    | ended 1                  | running |
start-up, a lock left by a killed copy      | stale           | start                                    | menu @start              |       |
start-up, no file                           | missing         | start                                    | ended 1                  | missing |
start-up, a folder of the file's name       | folder-named    | start                                    | ended 1                  | missing |
start-up, keyed with another password       | otherkey        | start                                    | ended 1                  | damaged |
start-up, read-only folder                  | folder          | start                                    | ended 1                  | folder-start |
launch, whole Act                           |                 | drill                                    | quiz 10 blanked @heading | whole |
launch, part, option on: seen ones left out | seen            | start choose=2,0 exclude=1 yes launch    | quiz 50 blanked @heading | part-option |
launch, chapter, section empty              |                 | start choose=2,4 exclude=0 yes launch    | quiz 50 blanked @heading | chapter |
launch, section                             |                 | start choose=2,4,2 exclude=0 yes launch  | quiz 70 blanked @heading | section |
launch, option off: 直近 still sets aside    | seen            | drill                                    | quiz 30 blanked @heading | whole |
launch answered No                          |                 | start choose=0,0 exclude=0 no launch     | menu                     | whole |
launch with nothing picked                  |                 | start launch                             | menu @part               | pick |
launch, part but no chapter                 |                 | start choose=1 launch                    | menu @part               | pick |
launch, part not valid                      |                 | start choose=0,0 part=-1 launch          | menu @part               | invalid |
launch, range exhausted                     | all-recent      | drill                                    | menu @start              | whole exhausted |
launch onto a Null field ends the program   | null-answers-10 | drill                                    | ended 1                  | whole damaged |
launch, file busy ends the program          |                 | start choose=0,0 fault=SELECT:5 launch     | ended 1                | busy-start |
section list unreadable ends the program    |                 | start part=2 leave1 chapter=4 fault=SELECT:26 leave2 | ended 1      | damaged |
reveal writes both flags                    |                 | drill reveal                             | quiz 10 revealed @next   |       | 10:1/1 2026-12-07=1
next after a reveal                         |                 | drill reveal next                        | quiz 20A blanked @heading |       | 10:1/1 2026-12-07=1
again after a reveal                        |                 | drill reveal again                       | quiz 10 again @answer    |       | 10:1/1 2026-12-07=1
next from again, without a second reveal    |                 | drill reveal again next                  | quiz 20A blanked @heading |       | 10:1/1 2026-12-07=1
no next before a reveal                     |                 | drill next                               | quiz 10 blanked          |       |
no again before a reveal                    |                 | drill again                              | quiz 10 blanked          |       |
Space reveals, then goes on                 |                 | drill key key                            | quiz 20A blanked @heading |       | 10:1/1 2026-12-07=1
back to the menu writes nothing             |                 | drill menu                               | menu                     |       |
back and again: the same question           |                 | drill menu yes launch                    | quiz 10 blanked @heading | whole |
close box, No                               |                 | drill reveal no closequiz                | quiz 10 revealed         | back? | 10:1/1 2026-12-07=1
close box, Yes                              |                 | drill yes closequiz                      | menu                     | back? |
last question revealed, then next: no way on | recent-but-100 | drill reveal watch next                  | menu @start              | exhausted(-,-,-) | 100:1/1 2026-12-07=1
last question shown again, then next        | recent-but-100  | drill reveal again watch next            | menu @start              | exhausted(解答,-,-) | 100:1/1 2026-12-07=1
reveal, disk full at the start              |                 | drill fault=BEGIN:13 reveal              | quiz 10 blanked @menubutton | full |
reveal, commit lost: nothing written        |                 | drill fault=COMMIT:13 reveal             | quiz 10 blanked @menubutton | full |
reveal of a Null passage                    |                 | drill null=問題@10 reveal                 | quiz 10 blanked @menubutton | null |
next, file damaged: the question stays      |                 | drill reveal fault=SELECT:26 next        | quiz 10 revealed @menubutton | damaged | 10:1/1 2026-12-07=1
reveal of a question that is gone: no box   |                 | drill null=Ｎｏ@10 reveal                 | quiz 10 revealed @next   |       | 0:0/0
next onto a Null field: the question stays  |                 | drill reveal null=回答@20 next            | quiz 10 revealed @menubutton | null-read | 10:1/1 2026-12-07=1
again of a question that is gone: no box    |                 | drill reveal null=Ｎｏ@10 again           | quiz 10 again @answer    |       | 0:1/1 2026-12-07=1
記録削除, Yes: 済 cleared, 直近 kept           | seen            | start yes clear                          | menu                     | clear? cleared | 10:0/1 20:0/1
記録削除, No                                  | seen            | start no clear                           | menu                     | clear? |
記録削除, file read-only                      | seen            | start yes fault=UPDATE:8 clear           | menu                     | clear? read-only |
終了, Yes: 直近 cleared, 済 kept               | seen            | start yes quit                           | ended 0                  | quit? | 10:1/0 20:1/0
終了, No                                      | seen            | start no quit                            | menu                     | quit? |
終了 when 直近 cannot be cleared               | seen            | start yes fault=UPDATE:13 quit           | ended 0                  | quit? quit-failed |
close box of the menu, Yes: 直近 kept         | seen            | start yes closemenu                      | ended 0                  | quit? |
close box of the menu, No                   | seen            | start no closemenu                       | menu                     | quit? |
menu closed by the system: ends, 直近 kept    | seen            | start systemclose                        | ended 0                  |       |
X after a reveal: 済 0, 直近 kept              |                 | drill reveal mark                        | quiz 10 revealed marked  |       | 10:0/1+2026-12-07 2026-12-07=1
X again takes the mark back                 |                 | drill reveal mark mark                   | quiz 10 revealed         |       | 10:1/1 2026-12-07=1
X before a reveal does nothing              |                 | drill mark                               | quiz 10 blanked          |       |
X on the question shown again               |                 | drill reveal again mark                  | quiz 10 again marked     |       | 10:0/1+2026-12-07 2026-12-07=1
X, file read-only: nothing changes          |                 | drill reveal fault=UPDATE:8 mark         | quiz 10 revealed @menubutton | read-only | 10:1/1 2026-12-07=1
Ctrl+Z after a reveal, from 0/0             |                 | drill reveal undo                        | quiz 10 blanked @answer  |       |
Ctrl+Z after a reveal, from 1/0             | done-10         | drill reveal undo                        | quiz 10 blanked @answer  |       |
Ctrl+Z after X: the flags before the reveal |                 | drill reveal mark undo                   | quiz 10 blanked @answer  |       |
Ctrl+Z takes back only the last reveal      |                 | drill reveal next reveal undo            | quiz 20A blanked @answer |       | 10:1/1 2026-12-07=1
no Ctrl+Z once the reveal is off the screen |                 | drill reveal again undo                  | quiz 10 again            |       | 10:1/1 2026-12-07=1
Ctrl+Z of a second reveal                   |                 | drill reveal again mark reveal undo      | quiz 10 again marked @answer |   | 10:0/1+2026-12-07 2026-12-07=1
Ctrl+Z, file read-only: the reveal stays    |                 | drill reveal fault=UPDATE:8 watch undo   | quiz 10 revealed @menubutton | undo-read-only(-,次の問題へ,今の問題をもう一度) | 10:1/1 2026-12-07=1
a chapter without sections can be drilled   |                 | start choose=1,2 exclude=0 yes launch    | quiz 30 blanked @heading | general-provisions |
重要問題だけ: tier A alone                      |                 | start choose=0,0 exclude=0 important=1 yes launch | quiz 20A blanked @heading | whole-important |
重要問題だけ with the option, part            | seen            | start choose=2,0 exclude=1 important=1 yes launch | quiz 60A blanked @heading | part-option-important |
重要問題だけ on a file without tiers: all      | no-tiers        | start choose=0,0 exclude=0 important=1 yes launch | quiz 10 blanked @heading | whole |
要復習だけ: the marked ones, Ｎｏ order          | marks           | start choose=0,0 exclude=1 marked=1 yes launch | quiz 30 blanked marked @heading | whole-marked |
要復習だけ: each once, then the range is done  | marks           | start choose=0,0 marked=1 yes launch reveal next reveal next | menu @start | exhausted | 30:1/1 70:1/1 2026-12-07=2
要復習だけ with nothing marked                 |                 | start choose=0,0 marked=1 yes launch     | menu @start              | whole-marked exhausted |
要復習だけ and 重要問題だけ together             | marks           | start quit-recent choose=0,0 marked=1 important=1 yes launch | quiz 40A blanked marked @heading | both | 40:0/0+2026-12-01
a marked question shows its mark            | mark-10         | drill                                    | quiz 10 blanked marked @heading | whole |
a reveal takes the mark away                | mark-10         | drill reveal                             | quiz 10 revealed @next   |       | 10:1/1 2026-12-07=1
Ctrl+Z puts the mark back with its day      | mark-10         | drill reveal undo                        | quiz 10 blanked marked @answer |  |
X marks again, with today's date            | mark-10         | drill reveal mark                        | quiz 10 revealed marked  |       | 10:0/1+2026-12-07 2026-12-07=1
X, commit lost: no mark, then X marks       |                 | drill reveal fault=COMMIT:13 mark mark   | quiz 10 revealed marked  |       | 10:0/1+2026-12-07 2026-12-07=1
reveal, commit lost, then revealed again    |                 | drill fault=COMMIT:13 reveal reveal      | quiz 10 revealed @next   |       | 10:1/1 2026-12-07=1
記録削除 takes every mark away too             | marks           | start yes clear                          | menu                     | clear? cleared | 30:0/0 40:0/1 70:0/0
tooltip, nothing picked                     |                 | start tooltip                            | menu                     | 残り_0_問_/_全_0_問 |
tooltip, part with all its chapters         | seen            | start choose=2,0 tooltip                 | menu                     | 残り_6_問_/_全_6_問 |
tooltip, a chapter without sections          |                 | start choose=1,1 tooltip                 | menu                     | 残り_2_問_/_全_2_問 |
tooltip, a chapter nothing knows: none      |                 | start choose=5,1 tooltip                 | menu                     | 残り_0_問_/_全_0_問 |
tooltip, 重要問題だけ counts tier A alone     | seen            | start choose=2,0 important=1 tooltip     | menu                     | 残り_3_問_/_全_3_問 |
tooltip, 要復習だけ counts the marked ones     | marks           | start choose=0,0 marked=1 tooltip        | menu                     | 残り_2_問_/_全_3_問 |
tooltip, a new part, lists not left         |                 | start choose=2,0 part=1 tooltip          | menu                     | 残り_0_問_/_全_0_問 |
tooltip, a new chapter, lists not left      | sections-of-5   | start choose=2,4,2 chapter=5 tooltip     | menu                     | 残り_1_問_/_全_1_問 |
)";

// Runs the learner's actions on a session and describes where it ended up.
class Script
{
public:
    explicit Script(fixture::Drill& drill) : m_drill(drill)
    {
        QObject::connect(&drill.session, &drill::DrillSession::focusRequested, [this](drill::Focus f) { m_focus = f; });
        drill.seam.describeUnder([&page = drill.session.page()] {
            return QStringList{page.answerEnabled() ? "解答" : "-", page.nextEnabled() ? "次の問題へ" : "-",
                               page.againVisible() ? "今の問題をもう一度" : "-"}
                .join(u',');
        });
    }

    void run(const QString& script)
    {
        for (const QString& token : script.split(u' ', Qt::SkipEmptyParts)) {
            m_boxesBefore = m_drill.seam.boxes().size();
            m_focus.reset();
            m_tip.reset();
            act(token.section(u'=', 0, 0), token.section(u'=', 1));
        }
    }

    // "menu @start", "quiz 20A revealed marked" (A: the 重要 mark shows), "ended 1" …
    QString state() const
    {
        if (m_drill.seam.ended())
            return QStringLiteral("ended %1").arg(m_drill.seam.exitStatus());
        const drill::DrillSession& s = m_drill.session;
        QString text = QStringList{"none", "menu", "quiz"}[int(s.screen())];
        if (s.screen() == drill::Screen::Quiz)
            text += QStringLiteral(" %1%2 %3%4")
                        .arg(s.shownNo())
                        .arg(s.page().important ? QStringLiteral("A") : QString())
                        .arg(QStringList{"blanked", "revealed", "again"}[int(s.page().phase)],
                             s.page().marked ? QStringLiteral(" marked") : QString());
        if (m_focus)
            text += " @" + QStringList{"start", "part", "heading", "answer", "menubutton", "next"}[int(*m_focus)];
        return text;
    }

    // The boxes the last action showed, or the tooltip's text; a title not the program's comes first in brackets.
    QStringList lastBoxes() const
    {
        if (m_tip)
            return {*m_tip};
        QStringList texts;
        for (const SeamRecorder::Box& box : m_drill.seam.boxes().mid(m_boxesBefore))
            texts << (box.title == QStringLiteral("ハルニレKM") ? box.text : "[" + box.title + "] " + box.text) +
                         (m_watch ? "(" + box.under + ")" : QString());
        return texts;
    }

private:
    void act(const QString& name, const QString& value)
    {
        drill::DrillSession& s = m_drill.session;
        if (name == QLatin1String("drill"))
            return run(QStringLiteral("start choose=0,0 exclude=0 yes launch"));
        if (name == QLatin1String("choose")) {
            const QStringList picks = value.split(u',');
            return run(QStringLiteral("part=%1 leave1 chapter=%2 leave2 section=%3")
                           .arg(picks[0], picks.value(1, "-1"), picks.value(2, "-1")));
        }
        if (name == QLatin1String("fault"))
            return store::faults::failNext(value.section(u':', 0, 0).toUtf8(), value.section(u':', 1).toInt());
        if (name == QLatin1String("null"))
            return fixture::exec(m_drill.database(), QStringLiteral("UPDATE 問題 SET %1 = NULL WHERE Ｎｏ = %2")
                                                         .arg(value.section(u'@', 0, 0), value.section(u'@', 1)));
        using Session = drill::DrillSession;
        static const QHash<QString, void (Session::*)()> plain = {
            {"leave1", &Session::leavePartSelector}, {"leave2", &Session::leaveChapterSelector},
            {"launch", &Session::startDrill},        {"reveal", &Session::revealAnswers},
            {"next", &Session::showNextQuestion},    {"again", &Session::showQuestionAgain},
            {"menu", &Session::backToMenu},          {"key", &Session::revealOrGoOn},
            {"mark", &Session::toggleMark},          {"undo", &Session::undoReveal},
            {"clear", &Session::clearRecord},        {"quit", &Session::quit},
        };
        const QHash<QString, std::function<void()>> actions = {
            {"start", [&] { s.startUp(); }},
            {"part", [&] { s.pickPart(value.toInt()); }},
            {"chapter", [&] { s.pickChapter(value.toInt()); }},
            {"section", [&] { s.pickSection(value.toInt()); }},
            {"exclude", [&] { s.setExcludeSeen(value == QLatin1String("1")); }},
            {"important", [&] { s.setImportantOnly(value == QLatin1String("1")); }},
            {"marked", [&] { s.setMarkedOnly(value == QLatin1String("1")); }},
            {"quit-recent", [&] { m_drill.store.clearFlag(store::Flag::Recent); }},
            {"yes", [&] { m_drill.seam.answer(true); }},
            {"no", [&] { m_drill.seam.answer(false); }},
            {"closequiz", [&] { s.closeQuiz(true); }},
            {"closemenu", [&] { s.closeMenu(true); }},
            {"systemclose", [&] { s.closeMenu(false); }},
            {"tooltip", [&] { m_tip = s.remainingText(); }},
            {"watch", [&] { m_watch = true; }},
        };
        QVERIFY2(plain.contains(name) || actions.contains(name), qPrintable(name));
        if (plain.contains(name))
            (s.*plain[name])();
        else
            actions[name]();
    }

    fixture::Drill& m_drill;
    std::optional<drill::Focus> m_focus;
    std::optional<QString> m_tip;
    bool m_watch = false;
    qsizetype m_boxesBefore = 0;
};

// The rows whose flags differ between two readings of the file, as "10:1/1 20:0/0".
QString changedFlags(const QString& before, const QString& after)
{
    const QStringList old = before.split(u' ');
    QStringList changed;
    for (const QString& row : after.split(u' ')) {
        if (!old.contains(row))
            changed << row;
    }
    return changed.join(u' ');
}

} // namespace

class TestDrillSession final : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { store::faults::clear(); }
    void transitions_data();
    void transitions();
    void selectors_data();
    void selectors();
    void page();
    void markComesBackInALaterRun();
    void studyStatus();
    void failureTexts_data();
    void failureTexts();
};

void TestDrillSession::transitions_data()
{
    for (const char* column : {"setup", "script", "state", "boxes", "flags"})
        QTest::addColumn<QString>(column);
    for (const QString& line : QString::fromUtf8(kTransitions).split(u'\n', Qt::SkipEmptyParts)) {
        QStringList cells = line.split(u'|');
        for (QString& cell : cells)
            cell = cell.trimmed();
        QTest::newRow(qPrintable(cells[0])) << cells[1] << cells[2] << cells[3] << cells[4] << cells.value(5);
    }
}

void TestDrillSession::transitions()
{
    QFETCH(QString, setup);
    QFETCH(QString, script);
    QFETCH(QString, state);
    QFETCH(QString, boxes);
    QFETCH(QString, flags);
    fixture::Drill drill;
    const QString lockPath = drill.folder.file(QStringLiteral("instance.lock"));
    QLockFile running(lockPath);
    if (setup == QLatin1String("running"))
        QVERIFY(running.tryLock(0));
    if (setup == QLatin1String("stale")) {
        // The lock of a process that cannot exist: its number lies above the highest the system gives.
        QFile lock(lockPath);
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write("2147483646\nharunire-km\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    }
    if (setup == QLatin1String("missing") || setup == QLatin1String("folder-named"))
        QVERIFY(QFile::remove(drill.database()));
    if (setup == QLatin1String("folder-named"))
        QVERIFY(QDir().mkdir(drill.database()));
    if (setup == QLatin1String("otherkey"))
        fixture::writeDatabase(drill.database(), fixture::sampleQuestions(), fixture::sampleContents(), "Z7X4KVRQ");
    if (setup == QLatin1String("folder")) {
        store::faults::setFolderWritable(false);
        store::faults::failNext("PRAGMA", 8);
    }
    if (kSetups.contains(setup))
        fixture::exec(drill.database(), kSetups.value(setup));
    const bool readable = QFileInfo(drill.database()).isFile() && setup != QLatin1String("otherkey");
    const QString before = readable ? fixture::flags(drill.database()) : QString();
    Script run(drill);
    run.run(script);
    QCOMPARE(run.state(), state);
    QStringList expected;
    for (const QString& name : boxes.split(u' ', Qt::SkipEmptyParts)) {
        const QString base = name.section(u'(', 0, 0);
        expected << kBoxes.value(base, QString(base).replace(u'_', u' ')) + name.mid(base.size());
    }
    QCOMPARE(run.lastBoxes(), expected);
    QCOMPARE(drill.seam.answersLeft(), 0);
    if (readable)
        QCOMPARE(changedFlags(before, fixture::flags(drill.database())), flags);
}

void TestDrillSession::selectors_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("chapters"); // how many items the chapter list holds
    QTest::addColumn<QStringList>("sections");
    QTest::addColumn<QString>("picked"); // the chapter and section picked
    const QStringList organs = {"すべて", "第一節 株主総会及び種類株主総会等", "第二節 株主総会以外の機関の設置"};
    QTest::newRow("nothing picked: told once") << "leave1" << 0 << QStringList{} << "-1,-1";
    QTest::newRow("第六編 has no chapters: すべて only") << "part=6 leave1" << 1 << QStringList{} << "-1,-1";
    QTest::newRow("sections in 節No order, one item each")
        << "part=2 leave1 chapter=4 leave2 section=2" << 10 << organs << "4,2";
    QTest::newRow("chapter without sections: no list, no すべて")
        << "part=5 leave1 chapter=1 leave2" << 7 << QStringList{} << "1,-1";
    QTest::newRow("leaving the chapter again drops the section picked")
        << "part=2 leave1 chapter=4 leave2 section=2 leave2" << 10 << organs << "4,-1";
    QTest::newRow("leaving the part again drops the chapter and sections")
        << "part=2 leave1 chapter=4 leave2 leave1" << 10 << QStringList{} << "-1,-1";
}

void TestDrillSession::selectors()
{
    QFETCH(QString, script);
    QFETCH(int, chapters);
    QFETCH(QStringList, sections);
    QFETCH(QString, picked);
    fixture::Drill drill;
    Script(drill).run(QStringLiteral("start ") + script);
    const drill::Selectors& lists = drill.session.selectors();
    QCOMPARE(lists.chapters.size(), chapters);
    QCOMPARE(lists.sections, sections);
    QCOMPARE(QStringLiteral("%1,%2").arg(lists.chapter).arg(lists.section), picked);
    QCOMPARE(drill.seam.texts(), chapters == 0 ? QStringList{kPickChapter} : QStringList{});
}

// What the quiz screen shows: the headings, the passage with its blanks or its answers, and the highlights.
void TestDrillSession::page()
{
    auto questions = fixture::sampleQuestions();
    questions[0].passage = QStringLiteral("株式会社と合同会社。株式会社は、法人とする。");
    questions[0].answers = QStringLiteral("株式会社,合同会社");
    questions[0].caption = QStringLiteral("（合同会社の定義）");
    fixture::Drill drill(questions);
    drill.launch();
    const drill::Page& page = drill.session.page();
    const QString m1 = QStringLiteral(" 《 1 》 "), m2 = QStringLiteral(" 《 2 》 ");
    // The headings carry the blanks too, and show their words once uncovered or revealed.
    QCOMPARE(page.headings, (QStringList{QStringLiteral("第一編 総則  第一章 通則"), "（" + m2 + "の定義）",
                                         QStringLiteral("    第10条")}));
    QCOMPARE(page.passage, m1 + "と" + m2 + "。" + BR + m1 + "は、法人とする。" + BR);
    QCOMPARE(page.highlights, (QList<passage::Span>{{0, 7}, {8, 7}, {18, 7}}));

    drill.session.uncover(2);
    QCOMPARE(page.passage, m1 + "と合同会社。" + BR + m1 + "は、法人とする。" + BR);
    QCOMPARE(page.headings[1], QStringLiteral("（合同会社の定義）"));
    QCOMPARE(page.highlights, (QList<passage::Span>{{0, 7}, {8, 4}, {15, 7}}));
    drill.session.uncoverAt(16); // inside the second marker 1
    QCOMPARE(page.passage, passage::breakSentences(questions[0].passage));

    drill.session.revealAnswers();
    QCOMPARE(page.passage, passage::breakSentences(questions[0].passage));
    QCOMPARE(page.highlights, (QList<passage::Span>{{0, 4}, {12, 4}, {5, 4}}));
    drill.session.uncover(1); // nothing is blanked any more
    QCOMPARE(page.highlights.size(), 3);
    drill.session.showQuestionAgain();
    QCOMPARE(page.passage, m1 + "と" + m2 + "。" + BR + m1 + "は、法人とする。" + BR);
    QCOMPARE(page.headings[1], "（" + m2 + "の定義）");
}

// A question marked as not known is not asked again in this run, but is in the next one with the option ticked,
// and the count of what is left says so.
void TestDrillSession::markComesBackInALaterRun()
{
    fixture::Drill drill;
    drill.launch(true);
    drill.session.revealAnswers();
    drill.session.toggleMark();
    drill.session.showNextQuestion();
    QCOMPARE(drill.session.shownNo(), 20);
    drill.session.revealAnswers();
    QCOMPARE(drill.session.remainingText(), QStringLiteral("残り 8 問 / 全 10 問"));
    drill.seam.answer(true);
    drill.session.quit();
    QCOMPARE(drill.seam.exitStatus(), 0);
    drill.session.release();

    fixture::Store store;
    drill::DrillSession later(store, drill.folder.file(QStringLiteral("instance.lock")));
    QVERIFY(later.startUp());
    later.pickPart(0);
    later.leavePartSelector();
    later.pickChapter(0);
    QCOMPARE(later.remainingText(), QStringLiteral("残り 9 問 / 全 10 問"));
    drill.seam.answer(true);
    later.startDrill();
    QCOMPARE(later.shownNo(), 10);
    later.release();
}

// What 学習状況 shows: every part, the chapters of the part picked, the reveals of the last thirty days and the
// pace, with tier A beside and the marks as a kind of their own.
void TestDrillSession::studyStatus()
{
    fixture::Drill drill;
    drill.launch();
    Script(drill).run(QStringLiteral("reveal next reveal mark part=2 leave1"));
    fixture::exec(drill.database(), QStringLiteral("INSERT INTO 解答記録 VALUES ('2026-11-20', 4), ('2026-11-07', 9)"));
    const std::optional<drill::StudyStatus> status = drill.session.studyStatus();
    QVERIFY(status);
    const auto none = [](const char* title) {
        return QString::fromUtf8(title) +
               QStringLiteral("：済 0　要復習 0　未 0 ／ 0 問（重要 済 0　要復習 0　未 0 ／ 0 問）\n");
    };
    QCOMPARE(drill::statusText(*status),
             QStringLiteral("編ごと\n"
                            "第一編 総則：済 1　要復習 1　未 2 ／ 4 問（重要 済 0　要復習 1　未 1 ／ 2 問）\n"
                            "第二編 株式会社：済 0　要復習 0　未 6 ／ 6 問（重要 済 0　要復習 0　未 3 ／ 3 問）\n") +
                 none("第三編 持分会社") + none("第四編 社債") +
                 none("第五編 組織変更、合併、会社分割、株式交換及び株式移転") + none("第六編 外国会社") +
                 none("第七編 雑則") + none("第八編 罰則") + QStringLiteral("章ごと（第二編 株式会社）\n") +
                 none("第一章 設立") + none("第二章 株式") + none("第三章 新株予約権") +
                 QStringLiteral("第四章 機関：済 0　要復習 0　未 5 ／ 5 問（重要 済 0　要復習 0　未 3 ／ 3 問）\n"
                                "第五章 計算等：済 0　要復習 0　未 1 ／ 1 問（重要 済 0　要復習 0　未 0 ／ 0 問）\n") +
                 none("第六章 定款の変更") + none("第七章 事業の譲渡等") + none("第八章 解散") + none("第九章 清算") +
                 QStringLiteral("日ごとの解答（この30日間）：11/20 4 問、12/7 2 問\n"
                                "この30日間の解答 6 問（1日平均 0.2 問）。第二編 株式会社 の未済 6 問を終えるには、"
                                "このペースで あと約 30 日かかります。"));
}

// The texts of the failures the table of transitions does not meet.
void TestDrillSession::failureTexts_data()
{
    QTest::addColumn<FailureKind>("kind");
    QTest::addColumn<QString>("during");  // the program going on: try again
    QTest::addColumn<QString>("atStart"); // the program ending after it: start it again
    const QString moved =
        QStringLiteral("ソラメモ.mdb が見つかりません。\r\nこのＡＰと同じフォルダに ソラメモ.mdb を戻してから、");
    const QString busy = QStringLiteral("ソラメモ.mdb を他のプログラムが使用中のため、読み書きできません。\r\n"
                                        "ソラメモ.mdb を使っている他のプログラムを終了してから、");
    const QString again = QStringLiteral("もう一度操作してください。"),
                  restart = QStringLiteral("このＡＰを起動し直してください。");
    QTest::newRow("file missing") << FailureKind::FileMissing << moved + again << moved + restart;
    QTest::newRow("busy") << FailureKind::Busy << busy + again << busy + restart;
    QTest::newRow("table missing") << FailureKind::SchemaMissing << kDamaged << kDamaged;
    QTest::newRow("other: SQLite's words as a detail")
        << FailureKind::Other << QStringLiteral("ソラメモ.mdb の読み書き中に問題が起きました。\r\n（disk I/O error）")
        << kDamaged;
}

void TestDrillSession::failureTexts()
{
    QFETCH(FailureKind, kind);
    QFETCH(QString, during);
    QFETCH(QString, atStart);
    const store::StoreError error(kind, QStringLiteral("disk I/O error"));
    QCOMPARE(drill::failureMessage(error, false), during);
    QCOMPARE(drill::failureMessage(error, true), during + kUnchanged);
    QCOMPARE(drill::startFailureMessage(error), atStart);
}

QTEST_GUILESS_MAIN(TestDrillSession)
#include "tst_drillsession.moc"
