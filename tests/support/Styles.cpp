#include "Styles.h"

#include <QTextCharFormat>

namespace fixture {

QString checkStyles(const PassageBox& box, const QList<passage::Span>& highlighted)
{
    const QString& text = box.text();
    QList<bool> marked(text.size(), false);
    for (const auto& span : highlighted)
        for (qsizetype i = span.start; i < span.start + span.length; ++i)
            marked[i] = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n')
            continue;
        const QTextCharFormat f = box.formatAt(i);
        const QColor colour = f.foreground().color();
        const bool red = colour == QColor(255, 0, 0);
        const bool black = colour == QColor(0, 0, 0);
        const bool ok = marked[i] ? (red && f.fontPointSize() == 14 && f.fontWeight() == QFont::Bold)
                                  : (black && f.fontPointSize() == 9 && f.fontWeight() == QFont::Normal);
        if (!ok)
            return QStringLiteral("character %1 '%2' should be %3 but is %4 %5pt weight %6")
                .arg(i)
                .arg(text[i])
                .arg(marked[i] ? QStringLiteral("highlighted") : QStringLiteral("plain"), colour.name())
                .arg(f.fontPointSize())
                .arg(f.fontWeight());
    }
    return {};
}

QList<passage::Span> spansOf(const QString& text, const QStringList& targets)
{
    QList<passage::Span> spans;
    for (const QString& t : targets)
        spans += passage::findOccurrences(text, t);
    return spans;
}

} // namespace fixture
