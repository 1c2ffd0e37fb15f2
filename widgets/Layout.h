#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QString>

class QPushButton;
class QWidget;

// Screen measures are kept in twips, as the layout tables give them: 15 twips make one device-independent pixel,
// so the screens keep their proportions on a high-resolution display.
namespace layout {

constexpr int kTwipsPerPixel = 15;

int px(int twips);
QRect twips(int left, int top, int width, int height);

inline const QString gothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString mincho = QStringLiteral("ＭＳ Ｐ明朝");

QFont font(const QString& face, qreal points, bool bold = false, bool italic = false);

inline const QColor grey{192, 192, 192};
inline const QColor blue{0, 0, 255};
inline const QColor red{255, 0, 0};
inline const QColor green{0, 192, 0};

// The program's own palette, for both windows and every box and pop-up they open: the light look the screens are
// laid out for, whatever the desktop's theme, so that each text keeps its contrast under a dark theme too.
const QPalette& palette();

// The background of text areas in the program's palette. The layout names the system colour for window
// backgrounds here; the program's own colour takes its place on purpose, as under a dark theme the system's would
// put the blue and red captions on near-black.
QColor windowColour();

// Text colour and background of a control; an invalid colour keeps the one the control has.
void setColours(QWidget* widget, const QColor& text, const QColor& background = {});

// Names a control, puts it in place and gives it its font.
template <class W> W* place(W* control, const char* name, const QRect& geometry, const QFont& font)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    control->setFont(font);
    return control;
}

// A push button of the screens: never a default button, its caption wrapping when too long.
QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QRect& geometry,
                    const QFont& font);

// A resizable tool window with a small title bar that carries only the close box, painted grey.
void makeToolWindow(QWidget* window, const QString& title, int clientWidthTwips, int clientHeightTwips);

} // namespace layout
