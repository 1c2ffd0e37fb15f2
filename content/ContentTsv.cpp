#include "ContentTsv.h"

#include <QFile>
#include <QStringList>

namespace content {

QString TsvError::toString() const
{
    return line > 0 ? QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(message)
                    : QStringLiteral("%1: %2").arg(file, message);
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

namespace {

// Reads a UTF-8 tab-separated file: the header's columns must begin with the expected ones.
QList<QStringList> readTable(const QString& path, const QStringList& header, QList<TsvError>& errors,
                             QList<int>& lineNumbers)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        errors.append({path, 0, QStringLiteral("cannot read: %1").arg(file.errorString())});
        return {};
    }
    QList<QStringList> rows;
    int lineNo = 0;
    int width = 0;
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine());
        ++lineNo;
        while (line.endsWith(u'\n') || line.endsWith(u'\r'))
            line.chop(1);
        const QStringList fields = line.split(u'\t');
        if (lineNo == 1) {
            if (fields.mid(0, header.size()) != header) {
                errors.append({path, 1, QStringLiteral("header must begin with: %1").arg(header.join(u' '))});
                return {};
            }
            width = int(fields.size());
            continue;
        }
        if (line.isEmpty())
            continue;
        if (fields.size() != width) {
            errors.append({path, lineNo,
                           QStringLiteral("%1 fields where the header has %2").arg(fields.size()).arg(width)});
            continue;
        }
        rows.append(fields);
        lineNumbers.append(lineNo);
    }
    if (lineNo == 0)
        errors.append({path, 0, QStringLiteral("empty file")});
    return rows;
}

bool toInteger(const QString& text, qint64& value)
{
    bool ok = false;
    value = text.toLongLong(&ok);
    return ok;
}

} // namespace

QList<store::Question> readQuestions(const QString& path, QList<TsvError>& errors)
{
    static const QStringList header = {QStringLiteral("Ｎｏ"), QStringLiteral("編"),   QStringLiteral("章"),
                                       QStringLiteral("節"),   QStringLiteral("款"),   QStringLiteral("条"),
                                       QStringLiteral("定義"), QStringLiteral("問題"), QStringLiteral("回答")};
    QList<int> lines;
    const QList<QStringList> rows = readTable(path, header, errors, lines);
    QList<store::Question> questions;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QStringList& f = rows[i];
        store::Question q;
        if (!toInteger(f[0], q.no)) {
            errors.append({path, lines[i], QStringLiteral("Ｎｏ is not a whole number: %1").arg(f[0])});
            continue;
        }
        q.hen = f[1];
        q.sho = f[2];
        q.setsu = f[3];
        q.kan = f[4];
        q.jo = f[5];
        q.teigi = unescapeField(f[6]);
        q.mondai = unescapeField(f[7]);
        q.kaitou = unescapeField(f[8]);
        if (f.size() >= 11) {
            q.done = f[9].toInt();
            q.recent = f[10].toInt();
        }
        questions.append(q);
    }
    return questions;
}

QList<store::ContentsEntry> readContents(const QString& path, QList<TsvError>& errors)
{
    static const QStringList header = {QStringLiteral("part"), QStringLiteral("chapter"), QStringLiteral("section"),
                                       QStringLiteral("section_no")};
    QList<int> lines;
    const QList<QStringList> rows = readTable(path, header, errors, lines);
    QList<store::ContentsEntry> entries;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QStringList& f = rows[i];
        store::ContentsEntry e{f[0], f[1], f[2], 0};
        if (!toInteger(f[3], e.setsuNo)) {
            errors.append({path, lines[i], QStringLiteral("section_no is not a whole number: %1").arg(f[3])});
            continue;
        }
        entries.append(e);
    }
    return entries;
}

} // namespace content
