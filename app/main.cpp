#include "AppSetup.h"
#include "Screens.h"
#include "drill/DrillSession.h"
#include "drill/MessageSeam.h"
#include "store/QuestionStore.h"

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    app::setupApplication(application);

    store::QuestionStore store;
    drill::DrillSession session(store);
    Screens screens(session);
    // Ending the program at once: no window's close handling runs, but the file and the lock are let go.
    seam::setEndHandler([&session](int status) {
        session.release();
        std::_Exit(status);
    });
    if (!session.startUp())
        return 1;
    return application.exec();
}
