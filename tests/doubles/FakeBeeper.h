#pragma once

#include "Beeper.h"

class FakeBeeper : public Beeper
{
public:
    void beep() override { ++beeps; }

    int beeps = 0;
};
