#include "mainformfixture.h"

#include "panel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QtTest>

#include <cstdint>
#include <limits>
#include <optional>

// The window at its design size as a user first meets it: every caption whole and clear of the
// next control, and no control lying over another.
class TstMainFormLayout : public QObject
{
    Q_OBJECT

    // Room between the end of a caption and the control to its right.
    static constexpr int kCaptionRoom = 3;
    // Room between a button's caption and its frame.
    static constexpr int kButtonPadding = 2;

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

    // The labels "dec", "hex" and "bin" lie behind the Settings strip, which hides them.
    static bool HiddenByDesign(const QWidget *widget)
    {
        return QStringList{"Label1", "Label2", "Label3"}.contains(widget->objectName());
    }

    // The caption drawn from the left of a label, check box or radio button, in its parent's
    // coordinates; empty for other controls.
    static std::optional<QRect> LeftCaption(const QWidget *widget)
    {
        QStyleOptionButton option;
        option.initFrom(widget);
        QRect area;
        QString text;
        if (const auto *label = qobject_cast<const QLabel *>(widget)) {
            area = label->contentsRect();
            text = label->text();
        } else if (const auto *check = qobject_cast<const QCheckBox *>(widget)) {
            area = widget->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, widget);
            text = check->text();
        } else if (const auto *radio = qobject_cast<const QRadioButton *>(widget)) {
            area = widget->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, widget);
            text = radio->text();
        } else {
            return std::nullopt;
        }
        return QRect(widget->x() + area.left(), widget->y(), Advance(widget, text), widget->height());
    }

    // Why the control does not show whole in its rectangle; empty when it does.
    static QString Misfit(QWidget *widget)
    {
        QStyleOptionButton option;
        option.initFrom(widget);
        const QStyle *style = widget->style();
        const std::optional<QRect> caption = LeftCaption(widget);
        if (caption && caption->right() > widget->geometry().right())
            return QStringLiteral("caption runs past its control");
        if (auto *button = qobject_cast<QPushButton *>(widget)) {
            const QRect contents = style->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            if (Advance(button, button->text()) + 2 * kButtonPadding > contents.width())
                return QStringLiteral("caption wider than the button");
        } else if (auto *radio = qobject_cast<QRadioButton *>(widget)) {
            // Taller than its row, the circle would meet the next item's.
            if (style->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, &option, radio) >= radio->height()
                || radio->fontMetrics().height() > radio->height())
                return QStringLiteral("item taller than its row");
        } else if (auto *group = qobject_cast<QGroupBox *>(widget)) {
            if (Advance(group, group->title()) > group->width())
                return QStringLiteral("title wider than the group");
        }
        return QString();
    }

    // Whether a's caption runs into b or to within kCaptionRoom of it.
    static bool CaptionTouches(const QWidget *a, const QWidget *b)
    {
        const std::optional<QRect> caption = LeftCaption(a);
        const QRect other = b->geometry();
        return caption && !HiddenByDesign(a) && other.left() > a->x() && other.top() <= caption->bottom()
            && other.bottom() >= caption->top() && caption->right() + kCaptionRoom >= other.left();
    }

    static bool CoveredByDesign(const QWidget *a, const QWidget *b)
    {
        return (HiddenByDesign(a) && b->objectName() == u"GroupBox3")
            || (HiddenByDesign(b) && a->objectName() == u"GroupBox3");
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
            for (QWidget *other : children.mid(i + 1)) {
                if (child->geometry().intersects(other->geometry()) && !CoveredByDesign(child, other))
                    faults << Name(child) + QStringLiteral(" overlaps ") + Name(other);
                if (CaptionTouches(child, other) || CaptionTouches(other, child))
                    faults << Name(child) + QStringLiteral(" and ") + Name(other) + QStringLiteral(" touch");
            }
            if (IsContainer(child))
                faults << Faults(child);
        }
        return faults;
    }

private slots:
    void everyControlWholeAndApartAtTheDesignSize()
    {
        TMainFormFixture f;
        f.Form().resize(703, 477);
        f.Form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.Form()));
        QTRY_COMPARE(f.Form().size(), QSize(703, 477));
        // The widest count the counter shows.
        f.Control<QLabel>("LabCount0")->setText(QString::number(std::numeric_limits<std::int32_t>::max()));
        const QStringList faults = Faults(&f.Form());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }
};

QTEST_MAIN(TstMainFormLayout)
#include "tst_mainformlayout.moc"
