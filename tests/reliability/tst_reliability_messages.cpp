// What the learner reads when the question file fails: real SQLite failures sorted into the right kind, and for
// each kind a Japanese text in the program's style that says what to do.

#include "drill/FailureText.h"
#include "store/QuestionStore.h"
#include "store/Sqlite.h"
#include "support/Fixture.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <sqlite3.h>

using store::FailureKind;

Q_DECLARE_METATYPE(store::FailureKind)

namespace {

const QList<FailureKind> kAllKinds = {FailureKind::FileMissing, FailureKind::NotADatabase, FailureKind::SchemaMissing,
                                      FailureKind::NullField,   FailureKind::ReadOnly,     FailureKind::FolderReadOnly,
                                      FailureKind::Busy,        FailureKind::DiskFull,     FailureKind::Other};

// Causes the learner can put right without a new file.
bool remediable(FailureKind kind)
{
    return kind == FailureKind::FileMissing || kind == FailureKind::ReadOnly || kind == FailureKind::FolderReadOnly ||
           kind == FailureKind::Busy || kind == FailureKind::DiskFull;
}

const QString kUnchanged = QStringLiteral("今までの記録は変更されていません。");

} // namespace

class TestReliabilityMessages final : public QObject
{
    Q_OBJECT

private slots:
    void realFailuresSorted_data();
    void realFailuresSorted();
    void messageForEachKind_data();
    void messageForEachKind();
    void remediesAreTold();
};

void TestReliabilityMessages::realFailuresSorted_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<FailureKind>("kind");
    QTest::newRow("write after the file was renamed away") << "renamed" << FailureKind::FileMissing;
    QTest::newRow("write after the file was deleted") << "deleted" << FailureKind::FileMissing;
    QTest::newRow("keyed with another password") << "otherkey" << FailureKind::NotADatabase;
    QTest::newRow("text file") << "text" << FailureKind::NotADatabase;
    QTest::newRow("statement names a missing table") << "notable" << FailureKind::SchemaMissing;
    QTest::newRow("another connection writes") << "locked" << FailureKind::Busy;
}

void TestReliabilityMessages::realFailuresSorted()
{
    QFETCH(QString, setup);
    QFETCH(FailureKind, kind);
    fixture::TempFolder folder;
    const QString path = folder.database();
    fixture::writeDatabase(path, fixture::sampleQuestions(), fixture::sampleContents(),
                           setup == QLatin1String("otherkey") ? QByteArray("Z7X4KVRQ") : fixture::key());
    if (setup == QLatin1String("text")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray("SQLite format 3 ではありません\n").repeated(100));
    }
    store::Connection db = store::Connection::openExisting(path, fixture::key());
    store::Connection other;
    try {
        if (setup == QLatin1String("renamed") || setup == QLatin1String("deleted")) {
            store::Statement read(db, "SELECT count(*) FROM 問題");
            QVERIFY(read.next());
            if (setup == QLatin1String("renamed"))
                QVERIFY(QFile::rename(path, folder.file(QStringLiteral("moved.mdb"))));
            else
                QVERIFY(QFile::remove(path));
        }
        if (setup == QLatin1String("locked")) {
            other = store::Connection::openExisting(path, fixture::key());
            other.exec("BEGIN EXCLUSIVE");
            sqlite3_busy_timeout(db.handle(), 0);
        }
        if (setup == QLatin1String("notable"))
            db.exec("DROP TABLE 目次");
        const char* sql = setup == QLatin1String("notable") ? "SELECT 節 FROM 目次" : "UPDATE 問題 SET 済 = 1";
        store::Statement statement(db, sql);
        statement.next();
        QFAIL("the statement went through");
    } catch (const store::StoreError& e) {
        QVERIFY2(e.kind() == kind, qPrintable(QStringLiteral("kind %1: %2").arg(int(e.kind())).arg(e.message())));
    }
}

void TestReliabilityMessages::messageForEachKind_data()
{
    QTest::addColumn<FailureKind>("kind");
    QTest::addColumn<bool>("wrote");
    const QStringList names = {
        QStringLiteral("file missing"), QStringLiteral("not a database"), QStringLiteral("table or column missing"),
        QStringLiteral("Null field"),   QStringLiteral("read-only file"), QStringLiteral("read-only folder"),
        QStringLiteral("locked"),       QStringLiteral("disk full"),      QStringLiteral("other")};
    for (qsizetype k = 0; k < kAllKinds.size(); ++k) {
        QTest::addRow("%s, on a read", qPrintable(names[k])) << kAllKinds[k] << false;
        QTest::addRow("%s, on a write", qPrintable(names[k])) << kAllKinds[k] << true;
    }
}

void TestReliabilityMessages::messageForEachKind()
{
    QFETCH(FailureKind, kind);
    QFETCH(bool, wrote);
    const QString detail = QStringLiteral("disk I/O error");
    const QString text = store::failureMessage(store::StoreError(kind, detail), wrote);

    // The program's style: lines joined by CR LF, nothing else breaks a line.
    QVERIFY(!text.isEmpty());
    QVERIFY2(!QString(text).remove(QStringLiteral("\r\n")).contains(QRegularExpression(QStringLiteral("[\\r\\n]"))),
             qPrintable(text));
    // Japanese throughout: SQLite's English words appear only where no cause is known, as a detail for support.
    const QString words = QString(text).remove(QStringLiteral("ソラメモ.mdb")).remove(QStringLiteral("ＡＰ"));
    const bool english = words.contains(QRegularExpression(QStringLiteral("[A-Za-z]")));
    QCOMPARE(english, kind == FailureKind::Other);
    if (kind == FailureKind::Other)
        QVERIFY(text.contains(detail));
    // A write that failed says that the record is as it was; a read does not talk about the record.
    QCOMPARE(text.endsWith(kUnchanged), wrote);
    QCOMPARE(text.count(kUnchanged), wrote ? 1 : 0);
    // A damaged or foreign file gets the program's own damaged-file text.
    if (kind == FailureKind::NotADatabase || kind == FailureKind::SchemaMissing)
        QCOMPARE(text, wrote ? store::damagedFileMessage() + QStringLiteral("\r\n") + kUnchanged
                             : store::damagedFileMessage());
}

// Where the learner can put the cause right, the text says what to do (its second line asks for it), each cause
// has its own text, and at start-up (after which the program ends) the learner is sent to start it again, never to
// repeat an operation that is gone. A damaged file at start-up keeps the program's own text.
void TestReliabilityMessages::remediesAreTold()
{
    QSet<QString> seen;
    for (FailureKind kind : kAllKinds) {
        const store::StoreError error(kind, QStringLiteral("detail"));
        const QString during = store::failureMessage(error, false);
        const QString atStart = store::startFailureMessage(error);
        if (!remediable(kind)) {
            if (kind != FailureKind::NullField && kind != FailureKind::Other)
                QCOMPARE(during, store::damagedFileMessage());
            QCOMPARE(atStart, store::damagedFileMessage());
            continue;
        }
        const QStringList lines = during.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[1].endsWith(QStringLiteral("ください。")), qPrintable(during));
        QVERIFY2(!seen.contains(during), qPrintable(during));
        seen.insert(during);
        QVERIFY2(atStart != store::damagedFileMessage(), qPrintable(atStart));
        QVERIFY2(atStart.endsWith(QStringLiteral("起動し直してください。")), qPrintable(atStart));
        QVERIFY2(!atStart.contains(QStringLiteral("もう一度操作")), qPrintable(atStart));
    }
}

QTEST_GUILESS_MAIN(TestReliabilityMessages)
#include "tst_reliability_messages.moc"
