#pragma once

class Beeper
{
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};
