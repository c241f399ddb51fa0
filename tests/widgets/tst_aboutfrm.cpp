#include "aboutfrm.h"
#include "rxlabel.h"
#include "ui_aboutform.h"
#include "urllabel.h"

#include <QClipboard>
#include <QtTest>

class TstAboutFrm : public QObject
{
    Q_OBJECT
private slots:
    void boxCannotBeResized()
    {
        TAboutFrm box;
        QCOMPARE(box.minimumSize(), box.maximumSize());
        // Written after the panel has its size, so the guards let them through.
        QCOMPARE(box.Form()->ScrewPanel1->ScrewSize(), 4);
        QCOMPARE(box.Form()->ScrewPanel1->BevelOuter(), int(TScrewPanel::bvLowered));
    }

    void linksOpenTheirTargetsAndCopyTheirCaptions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QString>("copied");
        QTest::newRow("forum") << "UrlLabel3" << "https://example.org/velorand/forum/" << "Velorand forum.";
        QTest::newRow("web page") << "UrlLabel1" << "https://example.org/velorand/" << "https://example.org/velorand/";
        QTest::newRow("mail") << "UrlLabel2" << "mailto:velorand@example.org?subject=[Velorand]"
                              << "velorand@example.org";
    }

    void linksOpenTheirTargetsAndCopyTheirCaptions()
    {
        QFETCH(QString, name);
        QFETCH(QString, opened);
        QFETCH(QString, copied);
        QStringList targets;
        TUrlLabel::SetOpener([&targets](const QString &target) { targets << target; });
        TAboutFrm box;
        auto *link = box.findChild<TUrlLabel *>(name);
        QVERIFY(link);
        QTest::mouseClick(link, Qt::LeftButton, {}, {2, 2});
        QCOMPARE(targets, QStringList{opened});
        link->CopyCaption();
        QCOMPARE(QGuiApplication::clipboard()->text(), copied);
        TUrlLabel::SetOpener(nullptr);
    }

    void animationPlaysWhileShown()
    {
        TAboutFrm box;
        TRxGIFAnimator *animator = box.Form()->RxGIFAnimator1;
        QCOMPARE(animator->FrameCount(), 9);
        QVERIFY(animator->Animate());
        animator->Tick();
        QCOMPARE(animator->FrameIndex(), 0); // hidden: no frame advances
        box.show();
        QSignalSpy frames(animator, &TRxGIFAnimator::FrameChanged);
        QVERIFY(frames.wait(5000));
        box.hide();
        const int index = animator->FrameIndex();
        box.show(); // shown again: it goes on where it was
        QCOMPARE(animator->FrameIndex(), index);
    }

    void exitHidesTheBoxAsCancelled()
    {
        TAboutFrm box;
        box.show();
        QTest::mouseClick(box.Form()->Button1, Qt::LeftButton);
        QVERIFY(!box.isVisible());
        QCOMPARE(box.result(), int(QDialog::Rejected));
    }

    void forumLinkEndsTheThirdLine()
    {
        TAboutFrm box;
        const QLabel *message = box.Form()->Label1;
        const QLabel *forum = box.Form()->UrlLabel3;
        QVERIFY(forum->x() > message->x());
        QVERIFY(forum->geometry().right() < box.width());
        QVERIFY(forum->y() > message->y() && forum->y() < message->geometry().bottom());
        for (const QLabel *label : box.findChildren<QLabel *>())
            QVERIFY2(box.rect().contains(label->geometry()), qPrintable(label->objectName()));
    }

    void shadowIsDrawnUpAndLeftInTheShadowColour()
    {
        TRxLabel label;
        QCOMPARE(label.ShadowOffset(), QPoint(-1, -1));
        label.SetShadowPos(TRxLabel::spRightBottom);
        label.SetShadowSize(3);
        QCOMPARE(label.ShadowOffset(), QPoint(3, 3));

        label.SetShadowPos(TRxLabel::spLeftTop);
        label.SetShadowSize(2);
        label.SetShadowColor(0x0000FF); // red
        label.SetTransparent(false);
        label.setText("IIII");
        QFont big = label.font();
        big.setPixelSize(24);
        big.setBold(true);
        label.setFont(big);
        label.setStyleSheet("color: black; background: white");
        label.resize(60, 30);
        const QImage image = label.grab().toImage();
        bool red = false;
        bool black = false;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                red |= c.red() > 200 && c.green() < 60 && c.blue() < 60;
                black |= c.red() < 60 && c.green() < 60 && c.blue() < 60;
            }
        QVERIFY(red);
        QVERIFY(black);
    }

};

QTEST_MAIN(TstAboutFrm)
#include "tst_aboutfrm.moc"
