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

const QPalette& palette()
{
    static const QPalette light = [] {
        // Qt's light look: grey controls, white text areas, black text.
        const QColor window(239, 239, 239), text(Qt::black), disabledText(190, 190, 190);
        const QColor dark = window.darker(150), mid = window.darker(130);
        QPalette p(text, window, window.lighter(150), dark, mid, text, Qt::white);
        p.setColor(QPalette::Midlight, mid.lighter(110));
        p.setColor(QPalette::Shadow, dark.darker(135));
        p.setColor(QPalette::HighlightedText, Qt::white);
        for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
            p.setColor(QPalette::Disabled, role, disabledText);
        p.setColor(QPalette::Disabled, QPalette::Base, window);
        p.setColor(QPalette::Disabled, QPalette::Dark, QColor(209, 209, 209).darker(110));
        p.setColor(QPalette::Disabled, QPalette::Shadow, dark.darker(135).lighter(150));
        p.setColor(QPalette::Highlight, QColor(48, 140, 198));
        p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(145, 145, 145));
        p.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 128));
        // Every role of every group counts as set, so that none is taken from the desktop's palette.
        for (int group = 0; group < QPalette::NColorGroups; ++group) {
            for (int role = 0; role < QPalette::NColorRoles; ++role) {
                const auto g = QPalette::ColorGroup(group);
                const auto r = QPalette::ColorRole(role);
                p.setBrush(g, r, p.brush(g, r));
            }
        }
        return p;
    }();
    return light;
}

QColor windowColour()
{
    return palette().color(QPalette::Base);
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
    // The program's palette with the window's own background: the lists and text boxes keep the palette's colours.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, grey);
    window->setPalette(colours);
    window->setAutoFillBackground(true);
}

} // namespace layout
