#include "MessageSeam.h"

#include "Texts.h"

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

int show(const QString& text, Style style, const QString& title)
{
    if (!boxHandler())
        return style == YesNo ? No : Ok;
    return boxHandler()(text, style, title.isEmpty() ? texts::kTitle : title);
}

} // namespace

void tell(const QString& text, const QString& title)
{
    show(text, OkOnly, title);
}

bool ask(const QString& text, const QString& title)
{
    return show(text, YesNo, title) == Yes;
}

void endProgram(int status)
{
    if (endHandler()) {
        endHandler()(status);
        return;
    }
    std::_Exit(status);
}

void setBoxHandler(BoxHandler handler)
{
    boxHandler() = std::move(handler);
}

void setEndHandler(EndHandler handler)
{
    endHandler() = std::move(handler);
}

} // namespace seam
