#include "ShowNextQuestion.h"

#include "drill/MessageSeam.h"

namespace store {

QString exhaustedMessage()
{
    return QStringLiteral("これらの条件の出題は全て実施済みです。\r\r条件を変えるか、記録を全てクリアしてから再度行い下さい");
}

int ShowNextQuestion(QuestionStore& store, QuestionDisplay& display, const QString& part, const QString& chapter,
                     const QString& section, int exclude)
{
    const std::optional<Question> question = store.nextQuestion(Range{part, chapter, section, exclude});
    if (!question) {
        seam::msgBox(exhaustedMessage(), seam::OkOnly, QStringLiteral("ハルニレKM"));
        return 1;
    }
    display.renderQuestion(*question);
    display.showQuestion();
    return 0;
}

} // namespace store
