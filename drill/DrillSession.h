#pragma once

#include "drill/PassageText.h"
#include "drill/StudyStatus.h"
#include "store/Question.h"

#include <QDate>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QLockFile;

namespace store {
class QuestionStore;
class StoreError;
} // namespace store

namespace drill {

// Which window the learner sees. None: neither, while a box speaks for the program between the two.
enum class Screen { None, Menu, Quiz };

// Where the keyboard focus goes after an action.
enum class Focus {
    StartButton,  // 問題開始 on the menu
    PartSelector, // the part list on the menu
    Heading,      // the first heading line of the quiz screen
    AnswerButton, // 解答
    MenuButton,   // メニュ画面へ
    NextButton,   // 次の問題へ, its focus shown as the keyboard shows it
};

// The three lists of the menu and the item picked in each (-1: nothing picked).
struct Selectors
{
    QStringList parts;
    QStringList chapters;
    QStringList sections;
    int part = -1;
    int chapter = -1;
    int section = -1;

    bool operator==(const Selectors&) const = default;
};

// Where the quiz screen stands: which of its buttons can be used follows from it.
enum class Phase {
    Blanked,      // a question just shown with its blanks: 解答 only
    Revealed,     // its answers shown: 次の問題へ and 今の問題をもう一度
    BlankedAgain, // blanked once more after a reveal: 解答 and 次の問題へ
};

// What the quiz screen shows, as plain data.
struct Page
{
    QStringList headings;            // part and chapter; caption; section, subsection and article
    QString passage;                 // the passage box's text, line breaks as CR LF
    QList<passage::Span> highlights; // the characters shown in the highlight style
    Phase phase = Phase::Blanked;
    bool markable = false;  // the answers were revealed: the learner can say whether they knew them
    bool marked = false;    // marked 要復習 in the file: not known yet (済 = 0), to be asked again in a later run
    bool important = false; // a question of tier A (重要)
    bool rangeDone = false; // nothing of the range is left: no way on but back to the menu

    bool answerEnabled() const { return phase != Phase::Revealed; }
    bool nextEnabled() const { return phase != Phase::Blanked && !rangeDone; }
    bool againVisible() const { return phase == Phase::Revealed && !rangeDone; }
};

// The drill and its rules, without any window: the range and the option chosen on the menu, the question on
// show and whether its answers are revealed, what each action asks, writes and says. The windows forward the
// learner's clicks and keys here and render what the session says; every message box and the end of the program
// go through the message seam.
class DrillSession final : public QObject
{
    Q_OBJECT

public:
    explicit DrillSession(store::QuestionStore& store, QString lockFilePath = defaultLockFilePath());
    ~DrillSession() override;

    // Where the lock file that keeps a second copy of the program from running lives.
    static QString defaultLockFilePath();

    // The checks before the menu is usable: a second copy, the file's presence, the file itself. False when the
    // program has been ended.
    bool startUp();
    // Lets go of the file and the lock, as the program ends.
    void release();

    Screen screen() const { return m_screen; }

    // ---- the menu ----
    const Selectors& selectors() const { return m_selectors; }
    // The range the selectors hold: the texts picked in them and the options.
    store::Range range() const;
    bool excludeSeen() const { return m_excludeSeen; }
    void setExcludeSeen(bool exclude) { m_excludeSeen = exclude; }
    // 重要問題だけ: tier A alone. Where the file gives no tiers it has no effect, and the menu offers it greyed.
    bool importantOnly() const { return m_importantOnly; }
    void setImportantOnly(bool important) { m_importantOnly = important; }
    bool tiersAvailable() const { return m_tiersAvailable; }
    // 要復習だけ: the questions marked 要復習 alone, in Ｎｏ order; 今まで見た問題を外す has no effect then.
    bool markedOnly() const { return m_markedOnly; }
    void setMarkedOnly(bool marked) { m_markedOnly = marked; }

    // The learner picks an item (or nothing, -1). The lists below are rebuilt only when the focus leaves.
    void pickPart(int index);
    void pickChapter(int index);
    void pickSection(int index);
    void leavePartSelector();
    void leaveChapterSelector();

    void startDrill();
    void clearRecord();
    void quit();
    // The menu window is being closed; `byLearner` when the learner closed it. True when it may close.
    bool closeMenu(bool byLearner);
    // "残り n 問 / 全 m 問" for the range the selectors show now; empty when the file cannot be read.
    QString remainingText();
    // What the 学習状況 window shows, read now; nothing when the file cannot be read (the learner is told why).
    std::optional<StudyStatus> studyStatus();

    // ---- the quiz screen ----
    const Page& page() const { return m_page; }
    qint64 shownNo() const { return m_shown ? m_shown->no : 0; }

    void revealAnswers();
    // X: the revealed question is marked 要復習 with today's date (済 = 0, 直近 stays 1): it is asked again in a
    // later run, with 今まで見た問題を外す and with 要復習だけ. Again: the mark is taken back.
    void toggleMark();
    // Ctrl+Z: the last reveal, while it is on screen, is taken back: both flags, the mark and the day's count of
    // reveals as before it, the blanks shown again.
    void undoReveal();
    void showNextQuestion();
    void showQuestionAgain();
    void backToMenu();
    // Space and Enter: reveal, or once revealed go on to the next question.
    void revealOrGoOn();
    // The quiz window is being closed; true when it may close.
    bool closeQuiz(bool byLearner);
    // Shows the word of blank n in place of its markers, writing nothing; only while blanks show.
    void uncover(int number);
    // Uncovers the blank standing at (or just before) a position of the passage's text.
    void uncoverAt(qsizetype position);

    // The clock that dates marks and reveals (tests set their own).
    void setClock(std::function<QDate()> today) { m_today = std::move(today); }

signals:
    void selectorsChanged();
    void pageChanged();
    void screenChanged(drill::Screen screen);
    void focusRequested(drill::Focus focus);

private:
    // Why the launch would refuse a range, if it would.
    enum class Refusal { None, PickChapter, InvalidPart };
    Refusal refusalOf(const store::Range& chosen);
    void setScreen(Screen screen);
    void fillChapterList();
    void fillSectionList();
    // Puts a question on the quiz screen with its blanks.
    void showBlanked(const std::optional<store::Question>& question, Phase phase);
    void layOutPage();
    // Nothing of the range is left: the learner is told so and sent back to the menu.
    void backToMenuAtTheEnd();
    void reportFailure(const store::StoreError& error, bool wrote);
    void endAfterStartFailure(const store::StoreError& error);

    store::QuestionStore& m_store;
    QString m_lockFilePath;
    std::unique_ptr<QLockFile> m_instanceLock;
    Screen m_screen = Screen::None;

    Selectors m_selectors;
    QString m_chaptersOf; // the part the chapter list was built for
    QString m_sectionsOf; // the chapter the section list was built for
    bool m_excludeSeen = true;
    bool m_importantOnly = false;
    bool m_tiersAvailable = false;
    bool m_markedOnly = false;
    std::function<QDate()> m_today = [] { return QDate::currentDate(); };

    // The question on show (the row as last read), its laid-out passage and answers.
    std::optional<store::Question> m_shown;
    QString m_display;
    QStringList m_answers;
    // While blanks show: the passage cut into runs, and the blanks uncovered one by one.
    bool m_blanked = false;
    QList<passage::Run> m_runs;
    QList<int> m_uncovered;
    // Whether the question on show has been revealed since it was shown, and what its last reveal replaced.
    bool m_revealedHere = false;
    struct BeforeReveal
    {
        store::Revealed record;
        QDate day;                    // the day the reveal was counted on
        Phase phase = Phase::Blanked; // the phase it was revealed from
    };
    std::optional<BeforeReveal> m_undo;
    Page m_page;
};

} // namespace drill
