#pragma once

#include <QList>
#include <QString>

namespace bench {

// Times of one variant of one operation, in milliseconds. A variant that ran on part of the work only (the literal
// resets on the first 10,000 rows) is scaled to the whole by `scale`.
class Samples
{
public:
    void add(double ms) { m_ms.append(ms); }
    bool isEmpty() const { return m_ms.isEmpty(); }
    qsizetype count() const { return m_ms.size(); }

    double median() const { return percentile(50); }
    // The 10th and the 90th percentile: the spread reported beside the median.
    double low() const { return percentile(10); }
    double high() const { return percentile(90); }

    double scale = 1.0;

private:
    double percentile(int p) const;
    QList<double> m_ms;
};

// "12.3" or "0.184" or "1,234": three significant digits, thousands separated.
QString formatMs(double ms);
// "12.3 (11.9–13.0)", scaled.
QString formatSamples(const Samples& samples);
QString formatRatio(double ratio);

} // namespace bench
