#pragma once

// The limits a question set is held to, each defined here once: the generator keeps the limits of one question, lint
// fails above every one of them, report prints them beside the measures, and the tests lower them to plant a fault.
// The rules whose limit is none at all (no heading gives an answer away, no blank in a replaced wording …) are
// findings of their own, question by question.
namespace content {

struct QualityLimits
{
    int maxAnswers = 5;       // answers of one question
    int minQuestions = 1500;  // questions in all
    int minPerChapter = 10;   // per chapter (or part without chapters) that has at least this many paragraphs
    int maxFiguresShown = 40; // figures of the passages left without a blank (figureSpans)
    int maxFormulaOnly = 20;  // questions that only ask a formula word (準用する, 適用しない …)
    int minTierA = 600;       // questions of tier A, where the set has tiers: enough for a high-yield drill,
    int maxTierA = 900;       // few enough for the 20 to 40 hours a candidate gives the Act
};

} // namespace content
