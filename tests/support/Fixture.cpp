#include "Fixture.h"

#include <QDir>
#include <QSet>
#include <QTest>

SeamRecorder::SeamRecorder()
{
    seam::setBoxHandler([this](const QString& text, seam::Style style, const QString& title) {
        m_boxes.append({text, title, m_describe ? m_describe() : QString()});
        if (style != seam::YesNo)
            return int(seam::Ok);
        if (m_answers.isEmpty())
            QTest::qFail(qPrintable(QStringLiteral("unanswered question: ") + text), __FILE__, __LINE__);
        return !m_answers.isEmpty() && m_answers.takeFirst() ? int(seam::Yes) : int(seam::No);
    });
    seam::setEndHandler([this](int status) { m_status = m_status.value_or(status); });
}

SeamRecorder::~SeamRecorder()
{
    seam::setBoxHandler({});
    seam::setEndHandler({});
}

QStringList SeamRecorder::texts() const
{
    QStringList out;
    for (const Box& box : m_boxes)
        out << box.text;
    return out;
}

namespace fixture {

TempFolder::TempFolder() : m_previous(QDir::currentPath())
{
    QDir::setCurrent(m_dir.path());
}

TempFolder::~TempFolder()
{
    QDir::setCurrent(m_previous);
}

QByteArray key()
{
    return QByteArrayLiteral("x'2DD29CA851E7B56E4697B0E1F08507293D761A05CE4D1B628663F411A8086D99'");
}

QByteArray programKey()
{
    return store::passwordOf(store::connectString());
}

QList<store::Question> sampleQuestions()
{
    // 編 | 章 | 節 | 問題 | 回答, one question a line.
    const QString rows = QStringLiteral(
        "第一編 総則|第一章 通則||会社は、法人とする。|法人\n"
        "第一編 総則|第一章 通則||会社の住所は、その本店の所在地にあるものとする。|本店,所在地\n"
        "第一編 総則|第二章 会社の商号||会社は、その名称を商号とする。|商号\n"
        "第一編 総則|第二章 "
        "会社の商号||会社は、その商号中に株式会社又は合同会社という文字を用いる。|株式会社,合同会社\n"
        "第二編 株式会社|第四章 機関|第一節 株主総会及び種類株主総会等|株主総会は、一切の事項について決議をする。|"
        "株主総会,決議\n"
        "第二編 株式会社|第四章 機関|第一節 株主総会及び種類株主総会等|定時株主総会は、毎事業年度の終了後に招集する。|"
        "定時株主総会\n"
        "第二編 株式会社|第四章 機関|第二節 "
        "株主総会以外の機関の設置|株式会社には、一人以上の取締役を置く。|一人,取締役\n"
        "第二編 株式会社|第四章 機関|第二節 株主総会以外の機関の設置|取締役会設置会社は、監査役を置く。|"
        "取締役会設置会社,監査役\n"
        "第二編 株式会社|第四章 機関|第二節 株主総会以外の機関の設置|取締役会は、すべての取締役で組織する。|取締役会\n"
        "第二編 株式会社|第五章 計算等||株式会社の会計は、企業会計の慣行に従う。|企業会計の慣行");
    QList<store::Question> questions;
    for (const QString& row : rows.split(u'\n')) {
        const QStringList f = row.split(u'|');
        store::Question q;
        q.no = 10 * (questions.size() + 1);
        q.part = f[0];
        q.chapter = f[1];
        q.section = f[2];
        q.article = QStringLiteral("第%1条").arg(q.no);
        q.caption = QStringLiteral("（定義%1）").arg(q.no);
        q.passage = f[3];
        q.answers = f[4];
        q.tier = QStringLiteral("BACABACAAC").at(questions.size());
        questions << q;
    }
    return questions;
}

QList<store::ContentsEntry> sampleContents()
{
    const QString part = QStringLiteral("第二編 株式会社"), organs = QStringLiteral("第四章 機関");
    const QString first = QStringLiteral("第一節 株主総会及び種類株主総会等");
    return {{part, organs, QStringLiteral("第二節 株主総会以外の機関の設置"), 2},
            {part, organs, first, 1},
            {part, organs, first, 1}};
}

void writeDatabase(const QString& path, const QList<store::Question>& questions,
                   const QList<store::ContentsEntry>& contents, const QByteArray& key)
{
    QFile::remove(path);
    store::DatabaseBuilder builder(path, key);
    for (const auto& q : questions)
        builder.addQuestion(q);
    for (const auto& e : contents)
        builder.addContents(e);
    builder.finish();
}

void exec(const QString& path, const QString& sql, const QByteArray& key)
{
    store::Connection::openExisting(path, key).exec(sql.toUtf8().constData());
}

QString flags(const QString& path, const QByteArray& key)
{
    store::Connection db = store::Connection::openExisting(path, key);
    QSet<QString> tables;
    for (store::Statement names(db, "SELECT name FROM sqlite_master WHERE type = 'table'"); names.next();)
        tables << names.text(0);
    const QByteArray mark = tables.contains(QStringLiteral("要復習"))
                                ? "(SELECT '+' || 日付 FROM 要復習 WHERE 要復習.Ｎｏ = 問題.Ｎｏ)"
                                : "NULL";
    store::Statement query(db, "SELECT Ｎｏ, 済, 直近, " + mark + " FROM 問題 ORDER BY rowid");
    QStringList rows;
    while (query.next())
        rows << QStringLiteral("%1:%2/%3%4")
                    .arg(query.integer(0))
                    .arg(query.integer(1))
                    .arg(query.integer(2))
                    .arg(query.text(3));
    if (tables.contains(QStringLiteral("解答記録"))) {
        for (store::Statement days(db, "SELECT 日付, 解答数 FROM 解答記録 ORDER BY 日付"); days.next();)
            rows << days.text(0) + u'=' + days.text(1);
    }
    return rows.join(u' ');
}

Drill::Drill(const QList<store::Question>& questions)
    : store(store::databaseFileName(), key()), session(store, folder.file(QStringLiteral("instance.lock")))
{
    writeDatabase(folder.database(), questions);
    session.setClock([] { return today(); });
}

Drill::Drill(const QString& copyOf) : session(store, folder.file(QStringLiteral("instance.lock")))
{
    QVERIFY(QFile::copy(copyOf, folder.database()));
    QFile::setPermissions(folder.database(), QFile::ReadOwner | QFile::WriteOwner);
    session.setClock([] { return today(); });
}

void Drill::launch(bool excludeSeen)
{
    QVERIFY(session.startUp());
    session.pickPart(0);
    session.leavePartSelector();
    session.pickChapter(0);
    session.setExcludeSeen(excludeSeen);
    seam.answer(true);
    session.startDrill();
}

} // namespace fixture
