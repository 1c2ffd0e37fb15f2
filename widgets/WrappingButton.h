#pragma once

#include <QPushButton>

// A push button whose caption wraps onto a second line when it is wider than the button, as a long Japanese
// caption on a narrow button must.
class WrappingButton : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};
