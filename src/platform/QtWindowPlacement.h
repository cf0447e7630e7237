#pragma once

#include "WindowPlacement.h"

class QtWindowPlacement : public WindowPlacement
{
public:
    void setWindowPos(QWidget* window, int insertAfter, int x, int y, int width, int height, unsigned flags) override;
    QRect primaryScreen() const override;
};
