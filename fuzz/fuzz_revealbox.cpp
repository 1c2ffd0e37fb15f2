// libFuzzer target over the passage box: any passage and any 回答 shown blanked and then revealed must put every
// highlight on its marker or its word, and nowhere else.

#include "BoxChecks.h"

#include <QApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString problem = textcheck::checkBox(textcheck::decode(bytes));
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "passage box broke a rule: %s\n", problem.toUtf8().constData());
        std::abort();
    }
    return 0;
}
