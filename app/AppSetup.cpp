#include "AppSetup.h"

#include "drill/MessageSeam.h"
#include "drill/Texts.h"
#include "widgets/KeyTable.h"
#include "widgets/Layout.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QToolTip>
#include <QTranslator>

namespace app {

namespace {

// Line breaks of a message as the box shows them: CR LF and a lone CR alike end a line.
QString displayText(QString text)
{
    text.replace(texts::kLineBreak, QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

int showMessageBox(const QString& text, seam::Style style, const QString& title)
{
    QMessageBox box(QApplication::activeWindow());
    box.setPalette(layout::palette());
    box.setWindowTitle(title);
    box.setText(displayText(text));
    box.setTextFormat(Qt::PlainText);
    box.setIcon(QMessageBox::NoIcon);
    if (style == seam::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? seam::Yes : seam::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return seam::Ok;
}

void setupApplication(QApplication& application)
{
    // The machine's locale may be C: the program is Japanese whatever it says.
    auto* translator = new QTranslator(&application);
    if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);

    QFont::insertSubstitution(layout::gothic, QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(layout::mincho, QStringLiteral("IPAPMincho"));

    QApplication::setApplicationName(QStringLiteral("harunire-km"));
    // No display name: the window system would add it to every window's title.
    QApplication::setQuitOnLastWindowClosed(false);
    seam::setBoxHandler(showMessageBox);
    keys::actOnceWhenHeld(application);
    // The tooltips too keep the program's colours, whatever the desktop's theme.
    QToolTip::setPalette(layout::palette());
}

} // namespace app
