#pragma once

#include "MessageBox.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QList>
#include <QString>

#include <functional>

// Records every box it is asked to show and answers Yes/No questions from a script.
class FakeMessageBox : public MessageBox
{
public:
    struct Shown
    {
        QString prompt;
        int style;
        QString title;
    };

    int show(const QString& prompt, int style, const QString& title) override
    {
        shown.append({prompt, style, title});
        if (whileShown) {
            whileShown();
        }
        if ((style & 0xF) != YesNo) {
            return Ok;
        }
        if (answers.isEmpty()) {
            ADD_FAILURE() << "unexpected question: " << prompt.toStdString();
            return No;
        }
        return answers.takeFirst();
    }

    QList<Shown> shown;
    QList<int> answers;
    // What happens elsewhere while the user reads the box.
    std::function<void()> whileShown;
};
