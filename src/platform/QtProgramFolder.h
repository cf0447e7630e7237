#pragma once

#include "ProgramFolder.h"

class QtProgramFolder : public ProgramFolder
{
public:
    QString path() const override;
};
