#pragma once

#include "Samples.h"

#include <QString>

namespace bench {

struct StartupTimes
{
    Samples ms;         // from just before the process is created to the menu painted for the first time
    qint64 peakKib = 0; // the program's peak resident memory at that moment, largest of the runs
    QString error;      // why the program could not be timed, if it could not
};

// Starts the real program `runs` times in `folder` (which holds its question file), offscreen, with `probe` preloaded
// to report the first paint of the menu, and times each start.
StartupTimes timeStartup(const QString& program, const QString& probe, const QString& folder, int runs);

} // namespace bench
