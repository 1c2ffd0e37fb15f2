#pragma once

#include <QString>
#include <functional>

// Every message box of the program and every "end the program at once" pass through here, so that tests can
// answer the boxes and see the program end without their own process ending.
namespace seam {

enum Style { OkOnly = 0, YesNo = 4 };
enum Answer { Ok = 1, Yes = 6, No = 7 };

// Shows a modal box with one OK button. An empty title shows the program's title.
void tell(const QString& text, const QString& title = {});
// Shows a modal box with Yes and No (Yes the default); true when the learner answered Yes.
bool ask(const QString& text, const QString& title = {});

// Ends the program at once with the exit status: no close handling of any window runs. Returns only where a test
// has taken over the ending; callers return straight after it.
void endProgram(int status);

using BoxHandler = std::function<int(const QString& text, Style style, const QString& title)>;
using EndHandler = std::function<void(int status)>;

// The real program installs its message box and its exit here; tests install their own.
void setBoxHandler(BoxHandler handler);
void setEndHandler(EndHandler handler);

} // namespace seam
