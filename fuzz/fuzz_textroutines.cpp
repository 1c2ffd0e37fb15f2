// libFuzzer target over the text routines of a question: any passage and any 回答, laid out, blanked, uncovered
// and scanned for highlights, must keep the rules of textcheck::check and trip no sanitizer.

#include "TextChecks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString problem = textcheck::check(textcheck::decode(bytes));
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "text routines broke a rule: %s\n", problem.toUtf8().constData());
        std::abort();
    }
    return 0;
}
