#include "Fixture.h"

#include "store/Sqlite.h"

#include <QDir>
#include <QTest>

namespace fixture {

QByteArray programKey()
{
    return store::passwordOf(store::connectString());
}

TempFolder::TempFolder() : m_previous(QDir::currentPath())
{
    QDir::setCurrent(m_dir.path());
}

TempFolder::~TempFolder()
{
    QDir::setCurrent(m_previous);
}

QString TempFolder::database() const
{
    return m_dir.filePath(store::databaseFileName());
}

QByteArray key()
{
    return QByteArrayLiteral("x'2DD29CA851E7B56E4697B0E1F08507293D761A05CE4D1B628663F411A8086D99'");
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
    store::Connection db = store::Connection::openExisting(path, key);
    db.exec(sql.toUtf8().constData());
}

QString flags(const QString& path, const QByteArray& key)
{
    store::Connection db = store::Connection::openExisting(path, key);
    store::Statement query(db, "SELECT Ｎｏ, 済, 直近 FROM 問題 ORDER BY rowid");
    QStringList rows;
    while (query.next())
        rows << QStringLiteral("%1:%2/%3").arg(query.integer(0)).arg(query.integer(1)).arg(query.integer(2));
    return rows.join(u' ');
}

QList<store::Question> sampleQuestions()
{
    const QString part1 = QStringLiteral("第一編 総則");
    const QString part2 = QStringLiteral("第二編 株式会社");
    const QString organs = QStringLiteral("第四章 機関");
    const QString s1 = QStringLiteral("第一節 株主総会及び種類株主総会等");
    const QString s2 = QStringLiteral("第二節 株主総会以外の機関の設置");
    struct Row
    {
        QString part, chapter, section, passage, answers;
    };
    const QList<Row> rows = {
        {part1, QStringLiteral("第一章 通則"), {}, QStringLiteral("会社は、法人とする。"), QStringLiteral("法人")},
        {part1,
         QStringLiteral("第一章 通則"),
         {},
         QStringLiteral("会社の住所は、その本店の所在地にあるものとする。"),
         QStringLiteral("本店,所在地")},
        {part1,
         QStringLiteral("第二章 会社の商号"),
         {},
         QStringLiteral("会社は、その名称を商号とする。"),
         QStringLiteral("商号")},
        {part1,
         QStringLiteral("第二章 会社の商号"),
         {},
         QStringLiteral(
             "会社は、株式会社又は合同会社の種類に従い、その商号中に株式会社又は合同会社という文字を用いなければ"
             "ならない。"),
         QStringLiteral("株式会社,合同会社")},
        {part2, organs, s1, QStringLiteral("株主総会は、一切の事項について決議をすることができる。"),
         QStringLiteral("株主総会,決議")},
        {part2, organs, s1, QStringLiteral("定時株主総会は、毎事業年度の終了後一定の時期に招集しなければならない。"),
         QStringLiteral("定時株主総会")},
        {part2, organs, s2, QStringLiteral("株式会社には、一人又は二人以上の取締役を置かなければならない。"),
         QStringLiteral("一人,取締役")},
        {part2, organs, s2, QStringLiteral("取締役会設置会社は、監査役を置かなければならない。"),
         QStringLiteral("取締役会設置会社,監査役")},
        {part2, organs, s2, QStringLiteral("取締役会は、すべての取締役で組織する。"), QStringLiteral("取締役会")},
        {part2,
         QStringLiteral("第五章 計算等"),
         {},
         QStringLiteral("株式会社の会計は、一般に公正妥当と認められる企業会計の慣行に従うものとする。"),
         QStringLiteral("企業会計の慣行")},
    };
    QList<store::Question> questions;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        store::Question q;
        q.no = 10 * (i + 1);
        q.hen = rows[i].part;
        q.sho = rows[i].chapter;
        q.setsu = rows[i].section;
        q.jo = QStringLiteral("第%1条").arg(q.no);
        q.teigi = QStringLiteral("（定義%1）").arg(q.no);
        q.mondai = rows[i].passage;
        q.kaitou = rows[i].answers;
        questions << q;
    }
    return questions;
}

QList<store::ContentsEntry> sampleContents()
{
    const QString part2 = QStringLiteral("第二編 株式会社");
    const QString organs = QStringLiteral("第四章 機関");
    // Out of 節No order and one row twice: the list must sort and group.
    return {
        {part2, organs, QStringLiteral("第二節 株主総会以外の機関の設置"), 2},
        {part2, organs, QStringLiteral("第一節 株主総会及び種類株主総会等"), 1},
        {part2, organs, QStringLiteral("第一節 株主総会及び種類株主総会等"), 1},
    };
}

Drill::Drill(const QList<store::Question>& questions, const QList<store::ContentsEntry>& contents)
    : session(store, folder.file(QStringLiteral("instance.lock")))
{
    writeDatabase(folder.database(), questions, contents);
}

Drill::~Drill()
{
    session.release();
}

void Drill::choose(const QString& part, const QString& chapter, const QString& section)
{
    const drill::Selectors& lists = session.selectors();
    session.pickPart(int(lists.parts.indexOf(part)));
    session.leavePartSelector();
    session.pickChapter(int(lists.chapters.indexOf(chapter)));
    session.leaveChapterSelector();
    session.pickSection(int(lists.sections.indexOf(section)));
    const store::Range chosen = session.range();
    QCOMPARE(chosen.part, part);
    QCOMPARE(chosen.chapter, chapter);
    QCOMPARE(chosen.section, section);
}

void Drill::launch(const QString& part, const QString& chapter, const QString& section, bool excludeSeen)
{
    QVERIFY(session.startUp());
    choose(part, chapter, section);
    session.setExcludeSeen(excludeSeen);
    seam.answer(true);
    session.startDrill();
}

} // namespace fixture
