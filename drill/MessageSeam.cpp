#include "MessageSeam.h"

#include <cstdlib>

namespace seam {

namespace {

BoxHandler& boxHandler()
{
    static BoxHandler handler;
    return handler;
}

EndHandler& endHandler()
{
    static EndHandler handler;
    return handler;
}

bool& ended()
{
    static bool value = false;
    return value;
}

} // namespace

QString applicationTitle()
{
    return QStringLiteral("ハルニレKM");
}

int msgBox(const QString& text, int style, const QString& title)
{
    const QString shown = title.isEmpty() ? applicationTitle() : title;
    if (boxHandler())
        return boxHandler()(text, style, shown);
    return style == YesNo ? No : Ok;
}

void endProgram()
{
    ended() = true;
    if (endHandler()) {
        endHandler()();
        return;
    }
    std::_Exit(0);
}

bool programEnded()
{
    return ended();
}

void setBoxHandler(BoxHandler handler)
{
    boxHandler() = std::move(handler);
}

void setEndHandler(EndHandler handler)
{
    endHandler() = std::move(handler);
}

void resetEnded()
{
    ended() = false;
}

} // namespace seam
