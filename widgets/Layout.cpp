#include "Layout.h"

#include "WrappingButton.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>
#include <cmath>

namespace layout {

int px(int twips)
{
    return int(std::lround(double(twips) / kTwipsPerPixel));
}

QRect twips(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

QFont font(const QString& face, qreal points, bool bold, bool italic)
{
    QFont f(face);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

QColor windowColour()
{
    return QApplication::palette().color(QPalette::Base);
}

void setColours(QWidget* widget, const QColor& text, const QColor& background)
{
    QPalette palette = widget->palette();
    if (text.isValid()) {
        palette.setColor(QPalette::WindowText, text);
        palette.setColor(QPalette::Text, text);
        palette.setColor(QPalette::ButtonText, text);
    }
    if (background.isValid()) {
        palette.setColor(QPalette::Window, background);
        palette.setColor(QPalette::Base, background);
        palette.setColor(widget->backgroundRole(), background);
        widget->setAutoFillBackground(true);
    }
    widget->setPalette(palette);
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QRect& geometry, const QFont& font)
{
    auto* b = place(new WrappingButton(caption, parent), name, geometry, font);
    b->setAutoDefault(false);
    return b;
}

void makeToolWindow(QWidget* window, const QString& title, int clientWidthTwips, int clientHeightTwips)
{
    window->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    window->setWindowTitle(title);
    window->resize(px(clientWidthTwips), px(clientHeightTwips));
    // Only the window's own background: the lists and text boxes keep the platform's colours.
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, grey);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

} // namespace layout
