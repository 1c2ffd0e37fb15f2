#include "ContentTsv.h"

#include <QDate>
#include <QFile>
#include <algorithm>

namespace content {

QString TsvError::toString() const
{
    return line > 0 ? QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(message)
                    : QStringLiteral("%1: %2").arg(file, message);
}

QString summarize(const QList<TsvError>& errors)
{
    if (errors.isEmpty())
        return {};
    QString text = errors.first().toString();
    if (errors.size() > 1)
        text += QStringLiteral(" (and %1 more)").arg(errors.size() - 1);
    return text;
}

QString TsvRow::operator[](const char* column) const
{
    const qsizetype at = m_columns->value(QString::fromUtf8(column), -1);
    Q_ASSERT_X(at >= 0, "TsvRow", column);
    return m_fields.value(at);
}

QList<TsvRow> readTsv(const QString& path, const QStringList& header, QList<TsvError>& errors,
                      QStringList* actualHeader, const TsvSection& section)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        errors.append({path, 0, QStringLiteral("cannot read: %1").arg(file.errorString())});
        return {};
    }
    QList<TsvRow> rows;
    int lineNo = 0;
    qsizetype width = 0;
    std::shared_ptr<QHash<QString, qsizetype>> columns;
    int headerLine = section.startsAt.isEmpty() ? 1 : 0; // not found yet
    while (!file.atEnd()) {
        QByteArray bytes = file.readLine();
        ++lineNo;
        if (lineNo == 1 && bytes.startsWith("\xEF\xBB\xBF"))
            bytes.remove(0, 3);
        while (bytes.endsWith('\n') || bytes.endsWith('\r'))
            bytes.chop(1);
        const QString line = QString::fromUtf8(bytes);
        if (headerLine == 0) {
            if (line == section.startsAt)
                headerLine = lineNo;
            else
                continue;
        } else if (lineNo > headerLine && !section.endsAt.isEmpty() && line == section.endsAt) {
            break;
        }
        if (line.contains(QChar::ReplacementCharacter)) {
            errors.append({path, lineNo, QStringLiteral("not valid UTF-8")});
            if (lineNo == headerLine)
                return {};
            continue;
        }
        const QStringList fields = line.split(u'\t');
        if (lineNo == headerLine) {
            if (fields.mid(0, header.size()) != header) {
                errors.append({path, lineNo, QStringLiteral("header must begin with: %1").arg(header.join(u' '))});
                return {};
            }
            width = fields.size();
            columns = std::make_shared<QHash<QString, qsizetype>>();
            for (qsizetype i = 0; i < fields.size(); ++i)
                columns->insert(fields[i], i);
            if (actualHeader)
                *actualHeader = fields;
            continue;
        }
        if (line.isEmpty())
            continue;
        if (fields.size() != width) {
            errors.append(
                {path, lineNo, QStringLiteral("%1 fields where the header has %2").arg(fields.size()).arg(width)});
            continue;
        }
        rows.append(TsvRow(lineNo, fields, columns));
    }
    if (file.error() != QFileDevice::NoError)
        errors.append({path, 0, QStringLiteral("cannot read: %1").arg(file.errorString())});
    else if (lineNo == 0)
        errors.append({path, 0, QStringLiteral("empty file")});
    return rows;
}

QString unescapeField(const QString& field)
{
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field.at(i);
        if (c == u'\\' && i + 1 < field.size()) {
            const QChar n = field.at(++i);
            if (n == u'n')
                out += QStringLiteral("\r\n");
            else if (n == u't')
                out += u'\t';
            else
                out += n;
        } else {
            out += c;
        }
    }
    return out;
}

QString escapeField(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            out += QStringLiteral("\\n");
            ++i;
        } else if (c == u'\n' || c == u'\r') {
            out += QStringLiteral("\\n");
        } else if (c == u'\t') {
            out += QStringLiteral("\\t");
        } else if (c == u'\\') {
            out += QStringLiteral("\\\\");
        } else {
            out += c;
        }
    }
    return out;
}

const QStringList& questionHeader()
{
    static const QStringList header = {QStringLiteral("Ｎｏ"), QStringLiteral("編"),   QStringLiteral("章"),
                                       QStringLiteral("節"),   QStringLiteral("款"),   QStringLiteral("条"),
                                       QStringLiteral("定義"), QStringLiteral("問題"), QStringLiteral("回答")};
    return header;
}

const QStringList& tierNames()
{
    static const QStringList tiers = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    return tiers;
}

const QStringList& optionalColumns()
{
    static const QStringList columns = {QStringLiteral("重要度"), QStringLiteral("済"), QStringLiteral("直近"),
                                        QStringLiteral("要復習")};
    return columns;
}

const QStringList& revealLogHeader()
{
    static const QStringList header = {QStringLiteral("日付"), QStringLiteral("解答数")};
    return header;
}

namespace {

bool toInteger(const QString& text, qint64& value)
{
    bool ok = false;
    value = text.toLongLong(&ok);
    return ok;
}

// A day as the program writes it: YYYY-MM-DD.
bool isDay(const QString& text)
{
    return text.size() == 10 && QDate::fromString(text, Qt::ISODate).isValid();
}

bool toFlag(const QString& text, int& value)
{
    if (text == QLatin1String("0") || text == QLatin1String("1")) {
        value = text.toInt();
        return true;
    }
    return false;
}

} // namespace

namespace {

// Why the columns after 回答 cannot be read, or empty when they can.
QString optionalColumnsProblem(const QStringList& header)
{
    const QStringList rest = header.mid(questionHeader().size());
    for (const QString& column : rest) {
        if (!optionalColumns().contains(column) || rest.count(column) > 1)
            return QStringLiteral("the columns after 回答 may be %1, each once").arg(optionalColumns().join(u' '));
    }
    if (rest.contains(QStringLiteral("済")) != rest.contains(QStringLiteral("直近")))
        return QStringLiteral("済 and 直近 come together");
    return {};
}

} // namespace

QList<QuestionRecord> readQuestions(const QString& path, QList<TsvError>& errors)
{
    QStringList header;
    const QList<TsvRow> rows = readTsv(path, questionHeader(), errors, &header, {{}, revealLogHeader().join(u'\t')});
    if (const QString problem = optionalColumnsProblem(header); !problem.isEmpty()) {
        errors.append({path, 1, problem});
        return {};
    }
    const bool withTier = header.contains(QStringLiteral("重要度"));
    const bool withFlags = header.contains(QStringLiteral("済"));
    const bool withMarks = header.contains(QStringLiteral("要復習"));
    QList<QuestionRecord> records;
    records.reserve(rows.size());
    for (const TsvRow& row : rows) {
        QuestionRecord r;
        r.line = row.line();
        store::Question& q = r.question;
        if (!toInteger(row["Ｎｏ"], q.no)) {
            errors.append({path, row.line(), QStringLiteral("Ｎｏ is not a whole number: %1").arg(row["Ｎｏ"])});
            continue;
        }
        q.part = row["編"];
        q.chapter = row["章"];
        q.section = row["節"];
        q.subsection = row["款"];
        q.article = row["条"];
        q.caption = unescapeField(row["定義"]);
        q.passage = unescapeField(row["問題"]);
        q.answers = unescapeField(row["回答"]);
        if (withTier) {
            q.tier = row["重要度"];
            if (!q.tier.isEmpty() && !tierNames().contains(q.tier)) {
                errors.append({path, row.line(), QStringLiteral("重要度 must be A, B, C or empty")});
                continue;
            }
        }
        if (withFlags && (!toFlag(row["済"], q.done) || !toFlag(row["直近"], q.recent))) {
            errors.append({path, row.line(), QStringLiteral("済 and 直近 must be 0 or 1")});
            continue;
        }
        if (withMarks) {
            q.markedOn = row["要復習"];
            if (!q.markedOn.isEmpty() && !isDay(q.markedOn)) {
                errors.append({path, row.line(), QStringLiteral("要復習 must be a day (YYYY-MM-DD) or empty")});
                continue;
            }
        }
        records.append(r);
    }
    return records;
}

QList<RevealDay> readRevealLog(const QString& path, QList<TsvError>& errors)
{
    const QString header = revealLogHeader().join(u'\t');
    QList<RevealDay> log;
    for (const TsvRow& row : readTsv(path, revealLogHeader(), errors, nullptr, {header, {}})) {
        RevealDay day{row["日付"], 0};
        if (!isDay(day.day) || !toInteger(row["解答数"], day.count) || day.count < 0 ||
            std::any_of(log.begin(), log.end(), [&](const RevealDay& d) { return d.day == day.day; })) {
            errors.append({path, row.line(), QStringLiteral("a day of 解答記録 is YYYY-MM-DD, once, with a count")});
            continue;
        }
        log.append(day);
    }
    return log;
}

QList<ContentsRecord> readContents(const QString& path, QList<TsvError>& errors)
{
    static const QStringList header = {QStringLiteral("part"), QStringLiteral("chapter"), QStringLiteral("section"),
                                       QStringLiteral("section_no")};
    const QList<TsvRow> rows = readTsv(path, header, errors);
    QList<ContentsRecord> records;
    records.reserve(rows.size());
    for (const TsvRow& row : rows) {
        ContentsRecord r;
        r.line = row.line();
        r.entry = {row["part"], row["chapter"], row["section"], 0};
        if (!toInteger(row["section_no"], r.entry.sectionNo)) {
            errors.append(
                {path, row.line(), QStringLiteral("section_no is not a whole number: %1").arg(row["section_no"])});
            continue;
        }
        records.append(r);
    }
    return records;
}

QByteArray questionTable(const QList<store::Question>& questions, TableColumns columns, const QList<RevealDay>& log)
{
    const bool record = columns == TableColumns::Record;
    QStringList header = questionHeader();
    header << QStringLiteral("重要度");
    if (record)
        header << QStringLiteral("済") << QStringLiteral("直近") << QStringLiteral("要復習");
    QString text = header.join(u'\t') + u'\n';
    for (const store::Question& q : questions) {
        QStringList fields = {QString::number(q.no),  escapeField(q.part),       escapeField(q.chapter),
                              escapeField(q.section), escapeField(q.subsection), escapeField(q.article),
                              escapeField(q.caption), escapeField(q.passage),    escapeField(q.answers),
                              escapeField(q.tier)};
        if (record)
            fields << QString::number(q.done) << QString::number(q.recent) << q.markedOn;
        text += fields.join(u'\t') + u'\n';
    }
    if (record && !log.isEmpty()) {
        text += u'\n' + revealLogHeader().join(u'\t') + u'\n';
        for (const RevealDay& day : log)
            text += day.day + u'\t' + QString::number(day.count) + u'\n';
    }
    return text.toUtf8();
}

namespace {

// One member of every record.
template <class Record, class Value> QList<Value> membersOf(const QList<Record>& records, Value Record::*member)
{
    QList<Value> values;
    values.reserve(records.size());
    for (const Record& r : records)
        values.append(r.*member);
    return values;
}

} // namespace

QList<store::Question> questionsOf(const QList<QuestionRecord>& records)
{
    return membersOf(records, &QuestionRecord::question);
}

QList<store::ContentsEntry> entriesOf(const QList<ContentsRecord>& records)
{
    return membersOf(records, &ContentsRecord::entry);
}

} // namespace content
