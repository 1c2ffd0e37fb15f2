#pragma once

#include "Question.h"
#include "QuestionStore.h"

namespace store {

// The quiz screen as the question selection sees it.
class QuestionDisplay
{
public:
    virtual ~QuestionDisplay() = default;
    // Lays the question out on the quiz screen, loading the screen first when it is not loaded.
    virtual void renderQuestion(const Question& question) = 0;
    // Shows the quiz screen and enables its answer button.
    virtual void showQuestion() = 0;
};

// The text with which an exhausted range is reported: two lone carriage returns between its sentences.
QString exhaustedMessage();

// Puts the open question of the range with the lowest Ｎｏ on the quiz screen and returns 0, or says that nothing
// of the range is left and returns 1. Failures of the file are thrown to the caller as StoreError.
int ShowNextQuestion(QuestionStore& store, QuestionDisplay& display, const QString& part, const QString& chapter,
                     const QString& section, int exclude);

} // namespace store
