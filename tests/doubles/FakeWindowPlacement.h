#pragma once

#include "WindowPlacement.h"

#include <QList>

#include <functional>

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
        if (onCall) {
            onCall(window);
        }
    }
    QRect primaryScreen() const override { return screen; }

    QList<Call> calls;
    // Lets a test look at the window at the moment it is placed.
    std::function<void(QWidget*)> onCall;
    QRect screen {0, 0, 1024, 768};
};
