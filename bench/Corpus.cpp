#include "Corpus.h"

#include "drill/ChapterTable.h"

#include <QFileInfo>
#include <QSet>
#include <random>

namespace bench {

namespace {

// Days of the reveal log, up to and including corpusDay.
constexpr int kLogDays = 120;

// Share of the questions that falls on each part, in menu order (parts with more articles get more questions).
constexpr int kPartWeights[] = {5, 55, 10, 5, 12, 2, 8, 3};

// The sections of the chapter the drill runs on, as the Act names them; other chapters get sections made up from
// the vocabulary below.
const QStringList& organSections()
{
    static const QStringList sections = {
        QStringLiteral("株主総会及び種類株主総会等"),
        QStringLiteral("株主総会以外の機関の設置"),
        QStringLiteral("役員及び会計監査人の選任及び解任"),
        QStringLiteral("取締役"),
        QStringLiteral("取締役会"),
        QStringLiteral("会計参与"),
        QStringLiteral("監査役"),
        QStringLiteral("監査役会"),
        QStringLiteral("会計監査人"),
        QStringLiteral("監査等委員会"),
        QStringLiteral("指名委員会等及び執行役"),
        QStringLiteral("役員等の損害賠償責任"),
    };
    return sections;
}

const QStringList& terms()
{
    static const QStringList words = {
        QStringLiteral("株主総会"),       QStringLiteral("取締役"),     QStringLiteral("取締役会"),
        QStringLiteral("監査役"),         QStringLiteral("会計参与"),   QStringLiteral("会計監査人"),
        QStringLiteral("定款"),           QStringLiteral("発起人"),     QStringLiteral("株式"),
        QStringLiteral("新株予約権"),     QStringLiteral("社債"),       QStringLiteral("社債権者"),
        QStringLiteral("株主"),           QStringLiteral("債権者"),     QStringLiteral("代表取締役"),
        QStringLiteral("執行役"),         QStringLiteral("清算人"),     QStringLiteral("持分会社"),
        QStringLiteral("合名会社"),       QStringLiteral("合資会社"),   QStringLiteral("合同会社"),
        QStringLiteral("登記"),           QStringLiteral("公告"),       QStringLiteral("決議"),
        QStringLiteral("議決権"),         QStringLiteral("剰余金"),     QStringLiteral("配当"),
        QStringLiteral("資本金"),         QStringLiteral("準備金"),     QStringLiteral("計算書類"),
        QStringLiteral("事業報告"),       QStringLiteral("組織変更"),   QStringLiteral("吸収合併"),
        QStringLiteral("新設合併"),       QStringLiteral("会社分割"),   QStringLiteral("株式交換"),
        QStringLiteral("株式移転"),       QStringLiteral("本店"),       QStringLiteral("支店"),
        QStringLiteral("商号"),           QStringLiteral("支配人"),     QStringLiteral("代理商"),
        QStringLiteral("裁判所"),         QStringLiteral("法務省令"),   QStringLiteral("総株主"),
        QStringLiteral("過半数"),         QStringLiteral("三分の二"),   QStringLiteral("特別決議"),
        QStringLiteral("監査報告"),       QStringLiteral("募集株式"),   QStringLiteral("種類株式"),
        QStringLiteral("自己株式"),       QStringLiteral("株券"),       QStringLiteral("株主名簿"),
        QStringLiteral("基準日"),         QStringLiteral("招集"),       QStringLiteral("電磁的方法"),
        QStringLiteral("登録株式質権者"), QStringLiteral("監査等委員"), QStringLiteral("指名委員会"),
        QStringLiteral("報酬委員会"),     QStringLiteral("業務執行"),
    };
    return words;
}

const QStringList& leads()
{
    static const QStringList texts = {
        QString(),
        QString(),
        QString(),
        QStringLiteral("前項の規定にかかわらず、"),
        QStringLiteral("次に掲げる場合には、"),
        QStringLiteral("この法律に別段の定めがある場合を除き、"),
        QStringLiteral("前条第一項の場合には、"),
    };
    return texts;
}

const QStringList& links()
{
    static const QStringList texts = {
        QStringLiteral("の決議によって、"),
        QStringLiteral("に対し、"),
        QStringLiteral("の承認を受けて、"),
        QStringLiteral("の定めるところにより、"),
        QStringLiteral("において、"),
        QStringLiteral("その他の"),
        QStringLiteral("又は"),
        QStringLiteral("及び"),
        QStringLiteral("並びに"),
        QStringLiteral("に関する"),
    };
    return texts;
}

const QStringList& endings()
{
    static const QStringList texts = {
        QStringLiteral("を定めなければならない。"),
        QStringLiteral("をすることができる。"),
        QStringLiteral("とする。"),
        QStringLiteral("を通知しなければならない。"),
        QStringLiteral("を記載し、又は記録しなければならない。"),
        QStringLiteral("の効力を生ずる。"),
        QStringLiteral("を置かなければならない。"),
        QStringLiteral("に報告しなければならない。"),
    };
    return texts;
}

QString kanjiNumber(int n)
{
    static const QString digits = QStringLiteral("〇一二三四五六七八九");
    QString out;
    const auto put = [&](int value, const QString& unit) {
        if (value == 0)
            return;
        if (value > 1 || unit.isEmpty())
            out += digits.at(value);
        out += unit;
    };
    put(n / 1000 % 10, QStringLiteral("千"));
    put(n / 100 % 10, QStringLiteral("百"));
    put(n / 10 % 10, QStringLiteral("十"));
    put(n % 10, QString());
    return out;
}

class Writer
{
public:
    explicit Writer(int count) : m_rng(std::uint32_t(20240601u + std::uint32_t(count))) {}

    int pick(int size) { return std::uniform_int_distribution<int>(0, size - 1)(m_rng); }
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }
    bool chance(int percent) { return pick(100) < percent; }
    const QString& any(const QStringList& list) { return list.at(pick(int(list.size()))); }

    // One sentence of the Act's kind; the terms it uses are added to `used`.
    QString sentence(QStringList& used)
    {
        auto term = [&] {
            const QString& t = any(terms());
            if (!used.contains(t))
                used << t;
            return t;
        };
        QString s = any(leads()) + term() + QStringLiteral("は、");
        if (chance(25))
            s += QStringLiteral("（") + term() + QStringLiteral("をいう。以下この条において同じ。）");
        const int linksCount = between(1, 3);
        for (int k = 0; k < linksCount; ++k)
            s += term() + any(links());
        return s + term() + any(endings());
    }

    // A passage of 200 to 600 characters and two to five of the terms it uses as its answers.
    void passage(QString& text, QString& answerText)
    {
        const int target = between(200, 600);
        QStringList used;
        text.clear();
        while (text.size() < target) {
            QString next = sentence(used);
            if (text.size() + next.size() > 600 && text.size() >= 200)
                break;
            text += next;
        }
        if (text.size() > 600)
            text.truncate(600);
        QStringList present;
        for (const QString& t : used) {
            if (text.contains(t))
                present << t;
        }
        QStringList answers;
        const int wanted = std::min<int>(between(2, 5), int(present.size()));
        while (answers.size() < wanted)
            answers << present.takeAt(pick(int(present.size())));
        answerText = answers.join(u',');
    }

private:
    std::mt19937 m_rng;
};

bool revealed(qint64 no, int count)
{
    return no <= qint64(count / 3) * 10;
}

bool doneEarlier(qint64 no)
{
    return (no * 2654435761LL) % 4294967296LL % 100 < 40;
}

// A number from 0 to 99 for a value and a purpose, independent of the writer's random sequence (so that the tiers,
// marks and log leave every passage as it was) and of the hash above.
int percentOf(quint64 value, quint64 purpose)
{
    quint64 z = value * 0x9E3779B97F4A7C15ULL + purpose * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return int((z ^ (z >> 31)) % 100);
}

// Marked 要復習 with X: about one in ten of the questions revealed in this run (済 back to 0, 直近 = 1), and one in
// twenty of the others that are not done, marked in an earlier run (済 = 直近 = 0).
bool markedInThisRun(qint64 no)
{
    return percentOf(quint64(no), 1) < 10;
}

bool markedEarlier(qint64 no)
{
    return !doneEarlier(no) && percentOf(quint64(no), 2) < 5;
}

struct Chapter
{
    QString part;
    QString title;
    QStringList sections; // empty: the chapter has none
    int weight = 1;
    // Shares of tier A and tier C in percent; the rest is B.
    int tierA = 0;
    int tierC = 0;
};

// How much of a chapter the exam asks: the core (設立, 株式, 機関, 計算等, the reorganisations) is mostly A, the
// areas the paper rarely asks (解散 and 清算, 社債, 外国会社, 雑則, 罰則) mostly C. Taken over the parts' shares this
// makes about a quarter of the questions tier A.
std::pair<int, int> tierShares(int part, const QString& title)
{
    const auto named = [&](std::initializer_list<const char*> words) {
        return std::any_of(words.begin(), words.end(),
                           [&](const char* w) { return title.contains(QString::fromUtf8(w)); });
    };
    if (named({"解散", "清算"}))
        return {2, 80};
    switch (part) {
    case 1:
        return {15, 25};
    case 2:
        return named({"設立", "株式", "機関", "計算等"}) ? std::pair{45, 5} : std::pair{25, 15};
    case 3:
        return {20, 20};
    case 4:
        return {3, 85};
    case 5:
        return named({"組織変更", "手続"}) ? std::pair{20, 30} : std::pair{45, 10};
    default:
        return {1, 90};
    }
}

QList<Chapter> outline(Writer& w)
{
    QList<Chapter> result;
    const QStringList& parts = chapters::partList();
    for (int p = 1; p < parts.size(); ++p) {
        QStringList titles = chapters::chaptersOf(parts[p]);
        titles.removeFirst(); // "すべて"
        if (titles.isEmpty())
            titles << QString(); // a part without chapters: its questions carry an empty chapter
        const int share = kPartWeights[p - 1];
        for (const QString& title : titles) {
            Chapter c;
            c.part = parts[p];
            c.title = title;
            if (parts[p] == drillPart && title == drillChapter) {
                c.sections = organSections();
                c.weight = share * 30;
            } else {
                const int sectionCount = title.isEmpty() ? 0 : w.pick(7);
                for (int s = 0; s < sectionCount; ++s)
                    c.sections << w.any(terms());
                c.weight = share * (title.isEmpty() ? 100 : 70) / int(titles.size());
            }
            for (int s = 0; s < c.sections.size(); ++s)
                c.sections[s] = QStringLiteral("第") + kanjiNumber(s + 1) + QStringLiteral("節 ") + c.sections[s];
            std::tie(c.tierA, c.tierC) = tierShares(p, title);
            result << c;
        }
    }
    return result;
}

} // namespace

CorpusShape writeCorpus(const QString& path, int count, const QByteArray& key)
{
    Writer w(count);
    const QList<Chapter> chapters = outline(w);
    // Chapter k ends where the weights of chapters 0..k end, scaled to `count`.
    QList<qint64> ends;
    qint64 totalWeight = 0;
    for (const Chapter& c : chapters)
        ends << (totalWeight += c.weight);
    for (qint64& end : ends)
        end = end * count / totalWeight;

    CorpusShape shape;
    store::DatabaseBuilder builder(path, key);
    qint64 index = 0;
    qint64 revealedCount = 0;
    int article = 1;
    for (qsizetype ci = 0; ci < chapters.size(); ++ci) {
        const Chapter& c = chapters[ci];
        const qint64 upTo = ends[ci];
        const qint64 first = index;
        for (; index < upTo; ++index) {
            store::Question q;
            q.no = (index + 1) * 10;
            q.part = c.part;
            q.chapter = c.title;
            if (!c.sections.isEmpty()) {
                const qint64 span = std::max<qint64>(1, upTo - first);
                q.section = c.sections.at(int((index - first) * c.sections.size() / span));
                if (w.chance(40))
                    q.subsection =
                        QStringLiteral("第") + kanjiNumber(w.between(1, 4)) + QStringLiteral("款 ") + w.any(terms());
            }
            if (w.chance(60))
                ++article;
            q.article = QStringLiteral("第") + kanjiNumber(article % 9999 + 1) + QStringLiteral("条");
            if (w.chance(70))
                q.caption = QStringLiteral("（") + w.any(terms()) + QStringLiteral("の") + w.any(terms()) +
                            QStringLiteral("）");
            w.passage(q.passage, q.answers);
            // One tier for a run of four questions, as the rules the paper asks stand together: tier A comes in
            // runs. The runs are laid out so that at each size the benchmark runs (1,000, 10,000 and 100,000) the
            // drill's chapter starts on a question below tier A, and 重要問題だけ passes over a few open ones.
            const int tier = percentOf(quint64((index - first) / 4), quint64(ci) + 18);
            q.tier = tier < c.tierA ? QStringLiteral("A")
                                    : (tier >= 100 - c.tierC ? QStringLiteral("C") : QStringLiteral("B"));
            q.recent = revealed(q.no, count) ? 1 : 0;
            q.done = q.recent != 0 || doneEarlier(q.no) ? 1 : 0;
            if (q.recent != 0 && markedInThisRun(q.no)) {
                q.done = 0;
                q.markedOn = corpusDay.addDays(-percentOf(quint64(q.no), 4) % 14).toString(Qt::ISODate);
            } else if (q.recent == 0 && markedEarlier(q.no)) {
                q.markedOn = corpusDay.addDays(-14 - percentOf(quint64(q.no), 4)).toString(Qt::ISODate);
            }
            shape.tierA += q.tier == QLatin1String("A") ? 1 : 0;
            shape.marks += q.markedOn.isEmpty() ? 0 : 1;
            revealedCount += q.done != 0 || !q.markedOn.isEmpty() ? 1 : 0;
            builder.addQuestion(q);
            ++shape.questions;
        }
        // One 目次 row per subsection of a section, so that several rows carry the same 節 and 節No.
        for (qsizetype s = 0; s < c.sections.size(); ++s) {
            const int rows = w.between(1, 3);
            for (int r = 0; r < rows; ++r) {
                builder.addContents({c.part, c.title, c.sections[s], s + 1});
                ++shape.tocRows;
            }
        }
    }
    // The reveals of the last 120 days, about as many as the questions revealed or marked, on most days.
    for (int back = kLogDays - 1; back >= 0; --back) {
        const QDate day = corpusDay.addDays(-back);
        const int share = percentOf(quint64(day.toJulianDay()), 5);
        if (back > 0 && share < 15)
            continue; // a day without a drill
        const qint64 reveals = std::max<qint64>(1, revealedCount * (50 + share) / 100 / (kLogDays * 85 / 100));
        builder.addRevealCount(day.toString(Qt::ISODate), reveals);
        ++shape.logDays;
    }
    builder.finish();
    shape.bytes = QFileInfo(path).size();
    return shape;
}

} // namespace bench
