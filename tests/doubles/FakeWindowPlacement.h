#pragma once

#include "WindowPlacement.h"

#include <QList>

class FakeWindowPlacement : public WindowPlacement
{
public:
    struct Call
    {
        QWidget* window;
        int insertAfter;
        int x;
        int y;
        int width;
        int height;
        unsigned flags;
    };

    void setWindowPos(QWidget* window, int insertAfter, int x, int y, int width, int height, unsigned flags) override
    {
        calls.append({window, insertAfter, x, y, width, height, flags});
    }
    QSize screenSize() const override { return screen; }

    QList<Call> calls;
    QSize screen {1024, 768};
};
