#pragma once

#include <QRect>

class QWidget;

// Stacking and placing a top-level window, with the insert-after values and flags of SetWindowPos.
class WindowPlacement
{
public:
    enum InsertAfter : int {
        Topmost = -1,
        NoTopmost = -2,
    };
    enum Flag : unsigned {
        NoSize = 0x1,
        NoMove = 0x2,
        NoActivate = 0x10,
        ShowWindow = 0x40,
    };

    virtual ~WindowPlacement() = default;
    virtual void setWindowPos(QWidget* window, int insertAfter, int x, int y, int width, int height, unsigned flags)
        = 0;
    // The primary monitor's area that panels leave free, in virtual-desktop pixels; its origin need
    // not be (0, 0).
    virtual QRect primaryScreen() const = 0;
};
