#pragma once

#include <QObject>
#include <QSet>

// While an input method composes in a text box, the half-typed text is not yet the box's: the
// program's Alt and Ctrl commands wait until the composition ends, as IBus makes them wait.
// Some input methods (fcitx5) pass those keys on mid-composition.
class CompositionGuard : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSet<QObject*> m_composing;
};
