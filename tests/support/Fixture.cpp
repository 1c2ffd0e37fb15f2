#include "Fixture.h"

#include "store/QuestionStore.h"
#include "store/Sqlite.h"

#include <QDir>
#include <QTest>
#include <sqlite3.h>

namespace fixture {

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
    return store::passwordOf(store::connectString());
}

store::Question question(qint64 no, const QString& hen, const QString& sho, const QString& mondai,
                         const QString& kaitou, const QString& setsu)
{
    store::Question q;
    q.no = no;
    q.hen = hen;
    q.sho = sho;
    q.setsu = setsu;
    q.jo = QStringLiteral("第%1条").arg(no);
    q.teigi = QStringLiteral("定義%1").arg(no);
    q.mondai = mondai;
    q.kaitou = kaitou;
    return q;
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

QList<FlagRow> readFlags(const QString& path, const QByteArray& key)
{
    store::Connection db = store::Connection::openExisting(path, key);
    store::Statement query(db, "SELECT Ｎｏ, 済, 直近 FROM 問題 ORDER BY rowid");
    QList<FlagRow> rows;
    while (query.next())
        rows.append({query.integer(0), int(query.integer(1)), int(query.integer(2))});
    return rows;
}

QList<store::Question> sampleQuestions()
{
    const QString part1 = QStringLiteral("第一編 総則");
    const QString part2 = QStringLiteral("第二編 株式会社");
    const QString ch11 = QStringLiteral("第一章 通則");
    const QString ch12 = QStringLiteral("第二章 会社の商号");
    const QString ch24 = QStringLiteral("第四章 機関");
    const QString s1 = QStringLiteral("第一節 株主総会及び種類株主総会等");
    const QString s2 = QStringLiteral("第二節 株主総会以外の機関の設置");
    return {
        question(10, part1, ch11, QStringLiteral("会社は、法人とする。"), QStringLiteral("法人")),
        question(20, part1, ch11, QStringLiteral("会社の住所は、その本店の所在地にあるものとする。"),
                 QStringLiteral("本店,所在地")),
        question(30, part1, ch12, QStringLiteral("会社は、その名称を商号とする。"), QStringLiteral("商号")),
        question(40, part1, ch12, QStringLiteral("会社は、株式会社、合名会社、合資会社又は合同会社の種類に従い、"
                                                 "それぞれその商号中に株式会社、合名会社、合資会社又は合同会社という"
                                                 "文字を用いなければならない。"),
                 QStringLiteral("株式会社,合同会社")),
        question(50, part2, ch24, QStringLiteral("株主総会は、この法律に規定する事項及び株式会社の組織、運営、管理"
                                                 "その他株式会社に関する一切の事項について決議をすることができる。"),
                 QStringLiteral("株主総会,決議"), s1),
        question(60, part2, ch24, QStringLiteral("定時株主総会は、毎事業年度の終了後一定の時期に招集しなければ"
                                                 "ならない。"),
                 QStringLiteral("定時株主総会"), s1),
        question(70, part2, ch24, QStringLiteral("株式会社には、一人又は二人以上の取締役を置かなければならない。"),
                 QStringLiteral("一人,取締役"), s2),
        question(80, part2, ch24, QStringLiteral("取締役会設置会社は、監査役を置かなければならない。"),
                 QStringLiteral("取締役会設置会社,監査役"), s2),
        question(90, part2, ch24, QStringLiteral("取締役会は、すべての取締役で組織する。"),
                 QStringLiteral("取締役会"), s2),
        question(100, part2, QStringLiteral("第五章 計算等"),
                 QStringLiteral("株式会社の会計は、一般に公正妥当と認められる企業会計の慣行に従うものとする。"),
                 QStringLiteral("企業会計の慣行")),
    };
}

QList<store::ContentsEntry> sampleContents()
{
    const QString part2 = QStringLiteral("第二編 株式会社");
    const QString ch24 = QStringLiteral("第四章 機関");
    return {
        {part2, ch24, QStringLiteral("第二節 株主総会以外の機関の設置"), 2},
        {part2, ch24, QStringLiteral("第一節 株主総会及び種類株主総会等"), 1},
        {part2, ch24, QStringLiteral("第一節 株主総会及び種類株主総会等"), 1},
    };
}

} // namespace fixture

char* toString(const fixture::FlagRow& row)
{
    return QTest::toString(QStringLiteral("(Ｎｏ %1, 済 %2, 直近 %3)").arg(row.no).arg(row.done).arg(row.recent));
}
