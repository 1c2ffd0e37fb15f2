#pragma once

#include <QString>
#include <functional>

// Every message box of the program and every "end the program at once" pass through here, so that tests can
// answer the boxes and see the program end without their own process ending.
namespace seam {

enum Style { OkOnly = 0, YesNo = 4 };
enum Answer { Ok = 1, Yes = 6, No = 7 };

// The title of boxes that have none of their own.
QString applicationTitle();

// Shows a modal box and returns the button pressed. An empty title shows the application's title.
int msgBox(const QString& text, int style = OkOnly, const QString& title = {});

// Ends the program at once: no close handling of any window runs. Returns only where a test has taken over the
// ending; callers return straight after it.
void endProgram();
bool programEnded();

using BoxHandler = std::function<int(const QString& text, int style, const QString& title)>;
using EndHandler = std::function<void()>;

// The real program installs its message box and its exit here; tests install their own.
void setBoxHandler(BoxHandler handler);
void setEndHandler(EndHandler handler);
void resetEnded();

} // namespace seam
