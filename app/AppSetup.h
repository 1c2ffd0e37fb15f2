#pragma once

#include "drill/MessageSeam.h"

class QApplication;

namespace app {

// The program's message box, as the message seam shows it: modal, in the program's palette, Yes the default of a
// Yes/No box. Returns the seam's answer.
int showMessageBox(const QString& text, seam::Style style, const QString& title);

// Japanese standard buttons, the Japanese proportional faces, and the real message box. Call once, before any
// window is created.
void setupApplication(QApplication& application);

} // namespace app
