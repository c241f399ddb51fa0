#include "urllabel.h"

#include <QClipboard>
#include <QMenu>
#include <QtTest>

class TstUrlLabel : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_opened.clear();
        TUrlLabel::SetOpener([this](const QString &target) { m_opened << target; });
    }

    void cleanup()
    {
        TUrlLabel::SetOpener(nullptr);
    }

    void clickOpensTheTarget_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QStringList>("opened");
        QTest::newRow("url wins") << "Velorand forum." << "https://example.org/forum/"
                                  << QStringList{"https://example.org/forum/"};
        QTest::newRow("url trimmed") << "x" << "  mailto:a@example.org  " << QStringList{"mailto:a@example.org"};
        QTest::newRow("blank url, caption") << " https://example.org/ " << "   " << QStringList{"https://example.org/"};
        QTest::newRow("both blank") << "  " << "" << QStringList{};
        QTest::newRow("both empty") << "" << "" << QStringList{};
    }

    void clickOpensTheTarget()
    {
        QFETCH(QString, caption);
        QFETCH(QString, url);
        QFETCH(QStringList, opened);
        TUrlLabel label;
        label.setText(caption);
        label.SetURL(url);
        label.resize(100, 13);
        QSignalSpy clicked(&label, &TUrlLabel::Clicked);
        QTest::mouseClick(&label, Qt::LeftButton, {}, {5, 5});
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(m_opened, opened);
    }

    void releaseOutsideOpensNothing()
    {
        TUrlLabel label;
        label.setText("https://example.org/");
        label.resize(100, 13);
        QTest::mousePress(&label, Qt::LeftButton, {}, {5, 5});
        QTest::mouseRelease(&label, Qt::LeftButton, {}, {150, 5});
        QVERIFY(m_opened.isEmpty());
    }

    void purpleOnlyWhileTheLeftButtonIsDown()
    {
        TUrlLabel label;
        label.setText("link");
        label.resize(100, 13);
        const QColor normal = label.palette().color(QPalette::WindowText);
        QCOMPARE(normal, QColor(0, 0, 255));
        QTest::mousePress(&label, Qt::RightButton, {}, {5, 5});
        QCOMPARE(label.palette().color(QPalette::WindowText), normal);
        QTest::mouseRelease(&label, Qt::RightButton, {}, {5, 5});
        QTest::mousePress(&label, Qt::LeftButton, {}, {5, 5});
        QCOMPARE(label.palette().color(QPalette::WindowText), QColor(0x80, 0, 0x80));
        QTest::mouseRelease(&label, Qt::LeftButton, {}, {5, 5});
        QCOMPARE(label.palette().color(QPalette::WindowText), normal);
    }

    void copyPutsTheCaptionOnTheClipboard()
    {
        TUrlLabel label;
        label.setText("authors@example.org");
        label.SetURL("mailto:authors@example.org?subject=[Velorand]");
        const QList<QAction *> actions = label.PopupMenu()->actions();
        QCOMPARE(actions.size(), 1);
        QCOMPARE(actions.first()->text(), QString("Copy"));
        actions.first()->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("authors@example.org"));
        QVERIFY(m_opened.isEmpty());
    }

private:
    QStringList m_opened;
};

QTEST_MAIN(TstUrlLabel)
#include "tst_urllabel.moc"
