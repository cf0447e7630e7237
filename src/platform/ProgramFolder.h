#pragma once

#include <QString>

// The folder that holds the program file; the data files live there.
class ProgramFolder
{
public:
    virtual ~ProgramFolder() = default;
    virtual QString path() const = 0;
};
