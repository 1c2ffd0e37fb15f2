#include "support/Fixture.h"
#include "store/QuestionStore.h"

#include <QFile>
#include <QTest>

using fixture::FlagRow;
using store::FailureKind;

class TestStore final : public QObject
{
    Q_OBJECT

private slots:
    void trialOpenFailures_data();
    void trialOpenFailures();
    void missingFileIsNotCreated();
    void resets_data();
    void resets();
};

Q_DECLARE_METATYPE(store::FailureKind)

void TestStore::trialOpenFailures_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<FailureKind>("kind");
    QTest::newRow("right key") << "good" << false << FailureKind::Other;
    QTest::newRow("wrong key") << "otherkey" << true << FailureKind::NotADatabase;
    QTest::newRow("plain text") << "text" << true << FailureKind::NotADatabase;
    QTest::newRow("unencrypted sqlite") << "plain" << true << FailureKind::NotADatabase;
    QTest::newRow("table 目次 missing") << "notoc" << true << FailureKind::SchemaMissing;
    QTest::newRow("column 直近 missing") << "nocolumn" << true << FailureKind::SchemaMissing;
    QTest::newRow("zero bytes") << "empty" << true << FailureKind::SchemaMissing;
}

void TestStore::trialOpenFailures()
{
    QFETCH(QString, setup);
    QFETCH(bool, fails);
    QFETCH(FailureKind, kind);
    fixture::TempFolder folder;
    const QString path = folder.database();
    if (setup == QLatin1String("good") || setup == QLatin1String("notoc") || setup == QLatin1String("nocolumn"))
        fixture::writeDatabase(path, fixture::sampleQuestions(), fixture::sampleContents());
    if (setup == QLatin1String("otherkey"))
        fixture::writeDatabase(path, fixture::sampleQuestions(), {}, "ANOTHER1");
    if (setup == QLatin1String("plain"))
        fixture::writeDatabase(path, fixture::sampleQuestions(), {}, QByteArray());
    if (setup == QLatin1String("notoc"))
        fixture::exec(path, QStringLiteral("DROP TABLE 目次"));
    if (setup == QLatin1String("nocolumn"))
        fixture::exec(path, QStringLiteral("CREATE TABLE t AS SELECT Ｎｏ, 編, 章, 節, 款, 条, 定義, 問題, 回答, 済 FROM 問題;"
                                           "DROP TABLE 問題; ALTER TABLE t RENAME TO 問題;"));
    if (setup == QLatin1String("text") || setup == QLatin1String("empty")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (setup == QLatin1String("text"))
            file.write("これはデータベースではありません。\n");
    }
    store::QuestionStore s;
    try {
        s.trialOpen();
        QVERIFY2(!fails, "the file was accepted");
    } catch (const store::StoreError& e) {
        QVERIFY2(fails, qPrintable(e.message()));
        QCOMPARE(e.kind(), kind);
    }
}

void TestStore::missingFileIsNotCreated()
{
    fixture::TempFolder folder;
    store::QuestionStore s;
    try {
        s.trialOpen();
        QFAIL("a missing file was opened");
    } catch (const store::StoreError& e) {
        QCOMPARE(e.kind(), FailureKind::FileMissing);
    }
    QVERIFY(!QFile::exists(folder.database()));
}

void TestStore::resets_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("done");
    QTest::newRow("済, no row") << 0 << true;
    QTest::newRow("済, one row") << 1 << true;
    QTest::newRow("済, many rows") << 10 << true;
    QTest::newRow("直近, no row") << 0 << false;
    QTest::newRow("直近, one row") << 1 << false;
    QTest::newRow("直近, many rows") << 10 << false;
}

void TestStore::resets()
{
    QFETCH(int, rows);
    QFETCH(bool, done);
    fixture::TempFolder folder;
    auto questions = fixture::sampleQuestions().mid(0, rows);
    for (int i = 0; i < questions.size(); ++i) {
        questions[i].done = i % 2;
        questions[i].recent = (i / 2) % 2;
    }
    fixture::writeDatabase(folder.database(), questions, fixture::sampleContents());
    store::QuestionStore s;
    s.clearFlag(done ? store::Flag::Done : store::Flag::Recent);
    const QList<FlagRow> after = fixture::readFlags(folder.database());
    QCOMPARE(after.size(), rows);
    for (int i = 0; i < rows; ++i) {
        const FlagRow expected{questions[i].no, done ? 0 : questions[i].done, done ? questions[i].recent : 0};
        QCOMPARE(after[i], expected);
    }
}

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
