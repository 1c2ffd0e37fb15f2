#pragma once

class QApplication;

namespace app {

// Japanese standard buttons, the Japanese proportional faces, and the real message box. Call once, before any
// window is created.
void setupApplication(QApplication& application);

} // namespace app
