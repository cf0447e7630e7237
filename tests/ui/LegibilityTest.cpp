#include "WindowTest.h"

#include "DefaultUserIdDialog.h"

#include <QAccessible>
#include <QLabel>

namespace {

// Run twice by ctest: as it is, and with QT_SCALE_FACTOR=2 for a high-density screen.
class LegibilityTest : public WindowTest
{
protected:
    static QString caption(QWidget* w)
    {
        if (auto* label = qobject_cast<QLabel*>(w)) {
            return label->text();
        }
        if (auto* button = qobject_cast<QPushButton*>(w)) {
            return button->text();
        }
        return {};
    }

    // Controls do not overlap, and every caption fits inside its control.
    static void expectLegible(QWidget* parent)
    {
        const QList<QWidget*> controls = parent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        for (int i = 0; i < controls.size(); ++i) {
            const QString name = controls[i]->objectName() + controls[i]->property("index").toString();
            for (int j = i + 1; j < controls.size(); ++j) {
                // The twip layout itself lets a few neighbours share a one-pixel seam.
                const QRect shared = controls[i]->geometry().intersected(controls[j]->geometry());
                EXPECT_TRUE(shared.isEmpty() || shared.width() <= 1 || shared.height() <= 1)
                    << name.toStdString() << " overlaps " << controls[j]->objectName().toStdString();
            }
            const QString text = caption(controls[i]).remove(QLatin1Char('&')).trimmed();
            if (!text.isEmpty()) {
                const QFontMetrics metrics = controls[i]->fontMetrics();
                EXPECT_LE(metrics.horizontalAdvance(text), controls[i]->width()) << name.toStdString();
                EXPECT_LE(metrics.height(), controls[i]->height()) << name.toStdString();
            }
        }
    }

    static void expectNamedForScreenReaders(QWidget* window)
    {
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(window) || w->focusProxy()) {
                continue;
            }
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(w);
            ASSERT_TRUE(accessible);
            EXPECT_FALSE(accessible->text(QAccessible::Name).trimmed().isEmpty())
                << w->metaObject()->className() << " " << w->objectName().toStdString();
        }
    }
};

TEST_F(LegibilityTest, TheMainWindowScalesAsAWholeAndNothingIsCut)
{
    MainWindow window(platform.services());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const qreal scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qgetenv("QT_SCALE_FACTOR").toDouble() : 1.0;
    EXPECT_DOUBLE_EQ(window.devicePixelRatio(), scale);
    EXPECT_EQ(window.centralWidget()->size(), QSize(360, 222));
    EXPECT_EQ(window.centralWidget()->grab().size(), QSize(360, 222) * scale);
    expectLegible(window.centralWidget());
    expectNamedForScreenReaders(&window);
}

TEST_F(LegibilityTest, TheDefaultUserIdDialogToo)
{
    MainWindow window(platform.services());
    DefaultUserIdFile file(platform.dataFolder);
    DefaultUserIdDialog dialog(QString(), file, platform.beeper, &window);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    expectLegible(&dialog);
    expectNamedForScreenReaders(&dialog);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&dialog)->text(QAccessible::Name), "输入默认用户 ID");
}

} // namespace
