// Start-up on a bad question file: every kind of missing, foreign or damaged file gets one clear box, the program
// ends, and the file (or its absence) is left exactly as it was.

#include "drill/FailureText.h"
#include "drill/MessageSeam.h"
#include "support/MenuFixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTest>

using fixture::MenuFixture;

namespace {

constexpr qint64 kPageSize = 1024;

const QString kMissing = QStringLiteral("★ ソラメモ.mdb が存在しません ★\r\n\r\n"
                                        "このＡＰと同じフォルダ配下に ソラメモ.mdb を置いて下さい");

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
}

// What lies in the folder, the single-instance lock aside.
QStringList listing(const QString& folder, const QString& lockFile)
{
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    names.removeAll(QFileInfo(lockFile).fileName());
    return names;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool overwrite(const QString& path, qint64 offset, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.seek(offset) && file.write(bytes) == bytes.size();
}

// An Access (Jet) database file: its first page begins with the Jet signature.
QByteArray jetFile()
{
    QByteArray bytes(4096, '\0');
    const QByteArray signature("\x00\x01\x00\x00Standard Jet DB\x00", 20);
    bytes.replace(0, signature.size(), signature);
    for (int i = 0x40; i < bytes.size(); ++i)
        bytes[i] = char((i * 37) & 0xff);
    return bytes;
}

// Rebuilds a table without one of its columns.
QString dropColumn(const QString& table, const QStringList& keep)
{
    return QStringLiteral("CREATE TABLE 残り AS SELECT %1 FROM %2; DROP TABLE %2; ALTER TABLE 残り RENAME TO %2;")
        .arg(keep.join(QStringLiteral(", ")), table);
}

const QStringList kQuestionColumns = {QStringLiteral("Ｎｏ"), QStringLiteral("編"),   QStringLiteral("章"),
                                      QStringLiteral("節"),   QStringLiteral("款"),   QStringLiteral("条"),
                                      QStringLiteral("定義"), QStringLiteral("問題"), QStringLiteral("回答"),
                                      QStringLiteral("済"),   QStringLiteral("直近")};

QStringList without(QStringList columns, const QString& column)
{
    columns.removeAll(column);
    return columns;
}

} // namespace

class TestReliabilityStartup final : public QObject
{
    Q_OBJECT

private slots:
    void badFileAtStart_data();
    void badFileAtStart();
};

void TestReliabilityStartup::badFileAtStart_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("message"); // empty: the program starts
    const QString damaged = store::damagedFileMessage();
    QTest::newRow("sound file starts") << "good" << QString();
    QTest::newRow("missing file, none created") << "missing" << kMissing;
    QTest::newRow("folder in place of the file") << "folder" << kMissing;
    QTest::newRow("zero-byte file") << "empty" << damaged;
    QTest::newRow("text file") << "text" << damaged;
    QTest::newRow("Access database file") << "jet" << damaged;
    QTest::newRow("unencrypted SQLite file") << "plain" << damaged;
    QTest::newRow("keyed with another password") << "otherkey" << damaged;
    QTest::newRow("truncated to half") << "half" << damaged;
    QTest::newRow("truncated by one page") << "onepage" << damaged;
    QTest::newRow("truncated inside a middle page") << "midpage" << damaged;
    QTest::newRow("truncated inside its last page") << "lastpage" << damaged;
    QTest::newRow("first page damaged at its start") << "page1start" << damaged;
    QTest::newRow("first page damaged in its middle") << "page1middle" << damaged;
    QTest::newRow("first page damaged at its end") << "page1end" << damaged;
    QTest::newRow("table 問題 missing") << "noQuestionTable" << damaged;
    QTest::newRow("table 目次 missing") << "noContentsTable" << damaged;
    QTest::newRow("column 回答 missing") << "noAnswerColumn" << damaged;
    QTest::newRow("column 直近 missing") << "noRecentColumn" << damaged;
    QTest::newRow("column 節No of 目次 missing") << "noSectionNumber" << damaged;
}

void TestReliabilityStartup::badFileAtStart()
{
    QFETCH(QString, setup);
    QFETCH(QString, message);
    MenuFixture app;
    const QString path = app.database();
    QVERIFY(QFile(path).size() % kPageSize == 0);
    const qint64 size = QFile(path).size();
    QVERIFY(size >= 8 * kPageSize);

    if (setup == QLatin1String("missing")) {
        QVERIFY(QFile::remove(path));
    } else if (setup == QLatin1String("folder")) {
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkdir(path));
    } else if (setup == QLatin1String("empty")) {
        QVERIFY(writeFile(path, {}));
    } else if (setup == QLatin1String("text")) {
        QVERIFY(writeFile(path, QStringLiteral("第一条　この法律は、会社の設立、組織、運営及び管理について定める。\r\n")
                                    .toUtf8()
                                    .repeated(40)));
    } else if (setup == QLatin1String("jet")) {
        QVERIFY(writeFile(path, jetFile()));
    } else if (setup == QLatin1String("plain")) {
        fixture::writeDatabase(path, fixture::sampleQuestions(), fixture::sampleContents(), QByteArray());
    } else if (setup == QLatin1String("otherkey")) {
        fixture::writeDatabase(path, fixture::sampleQuestions(), fixture::sampleContents(), "Z7X4KVRQ");
    } else if (setup == QLatin1String("half")) {
        QVERIFY(QFile::resize(path, size / 2));
    } else if (setup == QLatin1String("onepage")) {
        QVERIFY(QFile::resize(path, size - kPageSize));
    } else if (setup == QLatin1String("midpage")) {
        QVERIFY(QFile::resize(path, (size / kPageSize / 2) * kPageSize + 300));
    } else if (setup == QLatin1String("lastpage")) {
        QVERIFY(QFile::resize(path, size - 1));
    } else if (setup == QLatin1String("page1start")) {
        QVERIFY(overwrite(path, 0, QByteArray(16, '\x5a')));
    } else if (setup == QLatin1String("page1middle")) {
        QVERIFY(overwrite(path, 500, QByteArray(8, '\x5a')));
    } else if (setup == QLatin1String("page1end")) {
        // The last bytes of a page that its check covers (a few after them are mere padding).
        QVERIFY(overwrite(path, kPageSize - 48, QByteArray(4, '\x5a')));
    } else if (setup == QLatin1String("noQuestionTable")) {
        fixture::exec(path, QStringLiteral("DROP TABLE 問題"));
    } else if (setup == QLatin1String("noContentsTable")) {
        fixture::exec(path, QStringLiteral("DROP TABLE 目次"));
    } else if (setup == QLatin1String("noAnswerColumn")) {
        fixture::exec(path, dropColumn(QStringLiteral("問題"), without(kQuestionColumns, QStringLiteral("回答"))));
    } else if (setup == QLatin1String("noRecentColumn")) {
        fixture::exec(path, dropColumn(QStringLiteral("問題"), without(kQuestionColumns, QStringLiteral("直近"))));
    } else if (setup == QLatin1String("noSectionNumber")) {
        fixture::exec(path, dropColumn(QStringLiteral("目次"),
                                       {QStringLiteral("編"), QStringLiteral("章"), QStringLiteral("節")}));
    }
    const QByteArray before = contentOf(path);
    const QStringList folderBefore = listing(app.folder.path(), app.lockFile());

    const bool loaded = app.menu->startUp();
    app.store.release();

    // Nothing written, nothing made: no journal, no file in place of a missing one.
    QCOMPARE(contentOf(path), before);
    QCOMPARE(listing(app.folder.path(), app.lockFile()), folderBefore);
    QCOMPARE(app.seam.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(loaded, message.isEmpty());
    QCOMPARE(app.seam.ended(), !message.isEmpty());
    if (!message.isEmpty()) {
        QCOMPARE(app.seam.boxes()[0].style, int(seam::OkOnly));
        QCOMPARE(app.seam.boxes()[0].title, QStringLiteral("ハルニレKM"));
    }
}

QTEST_MAIN(TestReliabilityStartup)
#include "tst_reliability_startup.moc"
