#pragma once

#include "ProgramFolder.h"

class FakeProgramFolder : public ProgramFolder
{
public:
    QString path() const override { return folder; }

    QString folder;
};
