#include "mainformfixture.h"

#include "panel.h"
#include "radiogroup.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyleOption>
#include <QtTest>

#include <limits>

// The window at its design size as a user first meets it: every caption whole, and no control
// lying over another.
class TstMainFormLayout : public QObject
{
    Q_OBJECT

    // Room a caption keeps from its control's edges, so that it does not touch its neighbour.
    static constexpr int kLabelRoom = 3;
    static constexpr int kButtonPadding = 2;
    // A line edit starts its text this far in.
    static constexpr int kEditMargin = 2;

    // Widgets that hold other controls; everything else is one control, its parts its own.
    static bool IsContainer(const QWidget *widget)
    {
        return qobject_cast<const QGroupBox *>(widget) || qobject_cast<const TPanel *>(widget)
            || !widget->parentWidget();
    }

    static QList<QWidget *> VisibleChildren(QWidget *container)
    {
        QList<QWidget *> children;
        for (QWidget *child : container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (child->isVisibleTo(container) && !child->isWindow())
                children << child;
        }
        return children;
    }

    static QString Name(const QWidget *widget)
    {
        if (!widget->objectName().isEmpty())
            return widget->objectName();
        if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
            return Name(widget->parentWidget()) + u'/' + button->text();
        return QString::fromLatin1(widget->metaObject()->className());
    }

    static int Advance(const QWidget *widget, QString text)
    {
        return widget->fontMetrics().horizontalAdvance(text.remove(u'&'));
    }

    // Why the control's caption does not show whole in its rectangle; empty when it does.
    static QString Misfit(QWidget *widget)
    {
        QStyleOptionButton option;
        option.initFrom(widget);
        const QStyle *style = widget->style();
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            if (Advance(label, label->text()) + kLabelRoom > label->contentsRect().width())
                return QStringLiteral("text wider than the label");
        } else if (auto *button = qobject_cast<QPushButton *>(widget)) {
            const QRect contents = style->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            if (Advance(button, button->text()) + 2 * kButtonPadding > contents.width())
                return QStringLiteral("text wider than the button");
        } else if (auto *check = qobject_cast<QCheckBox *>(widget)) {
            const QRect contents = style->subElementRect(QStyle::SE_CheckBoxContents, &option, check);
            if (contents.left() + Advance(check, check->text()) > check->width())
                return QStringLiteral("text runs past the check box");
        } else if (auto *radio = qobject_cast<QRadioButton *>(widget)) {
            const QRect contents = style->subElementRect(QStyle::SE_RadioButtonContents, &option, radio);
            if (contents.left() + Advance(radio, radio->text()) > radio->width())
                return QStringLiteral("text runs past the radio button");
            // Taller than the row, the circle would meet the next item's.
            if (style->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, &option, radio) >= radio->height()
                || radio->fontMetrics().height() > radio->height())
                return QStringLiteral("item taller than its row");
        } else if (auto *spin = qobject_cast<QSpinBox *>(widget)) {
            const QLineEdit *edit = spin->findChild<QLineEdit *>();
            if (kEditMargin + Advance(edit, QString::number(spin->maximum())) > edit->contentsRect().width())
                return QStringLiteral("largest value wider than the box");
        }
        if (auto *group = qobject_cast<QGroupBox *>(widget)) {
            if (Advance(group, group->title()) > group->width())
                return QStringLiteral("title wider than the group");
        }
        return QString();
    }

    // Every misfit and overlap under container, one line each.
    static QStringList Faults(QWidget *container)
    {
        QStringList faults;
        const QList<QWidget *> children = VisibleChildren(container);
        for (qsizetype i = 0; i < children.size(); ++i) {
            QWidget *child = children[i];
            const QString misfit = HiddenByDesign(child) ? QString() : Misfit(child);
            if (!misfit.isEmpty())
                faults << Name(child) + QStringLiteral(": ") + misfit;
            for (qsizetype j = i + 1; j < children.size(); ++j) {
                if (child->geometry().intersects(children[j]->geometry()) && !CoveredByDesign(child, children[j]))
                    faults << Name(child) + QStringLiteral(" overlaps ") + Name(children[j]);
            }
            if (IsContainer(child))
                faults << Faults(child);
        }
        return faults;
    }

    // The labels "dec", "hex" and "bin" lie behind the Settings strip, which hides them.
    static bool HiddenByDesign(const QWidget *widget)
    {
        return QStringList{"Label1", "Label2", "Label3"}.contains(widget->objectName());
    }
    static bool CoveredByDesign(const QWidget *a, const QWidget *b)
    {
        return (HiddenByDesign(a) && b->objectName() == u"GroupBox3")
            || (HiddenByDesign(b) && a->objectName() == u"GroupBox3");
    }

    static void ShowAtDesignSize(TMainFormFixture &f)
    {
        f.Form().resize(703, 477);
        f.Form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.Form()));
        QTRY_COMPARE(f.Form().size(), QSize(703, 477));
    }

private slots:
    void everyControlWholeAndApartAtTheDesignSize()
    {
        TMainFormFixture f;
        ShowAtDesignSize(f);
        // The widest count the counter shows, the largest number a count reaches.
        f.Control<QLabel>("LabCount0")->setText(QString::number(std::numeric_limits<std::int32_t>::max()));
        const QStringList faults = Faults(&f.Form());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }
};

QTEST_MAIN(TstMainFormLayout)
#include "tst_mainformlayout.moc"
