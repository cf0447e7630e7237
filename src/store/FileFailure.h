#pragma once

#include <QString>

// Where a piece of file work stopped, and why: the window tells the user with its box, and the
// cause goes to the journal.
struct FileFailure
{
    enum class Step {
        None,
        Open,
        // Another copy of the program held the file for too long.
        Lock,
        // Not a file, or longer than the 16-bit count holds.
        Count,
        Read,
        Write,
        // No free slot, and no room for another record.
        Full,
    };

    Step step = Step::None;
    // The system's errno; 0 where it gave none.
    int error = 0;
    QString path;

    static FileFailure at(Step step, int error, const QString& path) { return {step, error, path}; }
    bool failed() const { return step != Step::None; }
    // For a log line, "write /path: No space left on device".
    QString describe() const;
};
