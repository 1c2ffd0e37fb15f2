#include "AppSetup.h"
#include "MenuWindow.h"
#include "drill/MessageSeam.h"
#include "store/QuestionStore.h"

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    app::setupApplication(application);

    store::QuestionStore store;
    MenuWindow menu(store);
    // Ending the program at once: no window's close handling runs, but the file and the lock are let go.
    seam::setEndHandler([&menu] {
        menu.releaseResources();
        std::_Exit(0);
    });
    if (!menu.startUp())
        return 0;
    menu.show();
    return application.exec();
}
