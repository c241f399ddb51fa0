#include "application.h"
#include "apperror.h"
#include "filefilter.h"
#include "notifyevent.h"
#include "scripteddialogs.h"

#include <QtTest>

#include <stdexcept>

// The standard error box, the handler guard, and the file-dialog filters.
class TstApplication : public QObject
{
    Q_OBJECT

    struct THandlers
    {
        int Runs = 0;
        void Fails() { ++Runs; throw TAppError(QStringLiteral("File not found")); }
        void Counts(int step) { Runs += step; }
    };

private slots:
    void errorTextGetsAFullStop_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "File not found" << "File not found.";
        QTest::newRow("digit") << "I/O error 5" << "I/O error 5.";
        QTest::newRow("full stop") << "Done." << "Done.";
        QTest::newRow("bracket") << "Failed (disk)" << "Failed (disk)";
        QTest::newRow("blank") << "Trailing " << "Trailing ";
        QTest::newRow("exclamation") << "Stop!" << "Stop!";
        QTest::newRow("slash sorts after") << "a/" << "a/.";
        QTest::newRow("empty") << "" << "";
    }
    void errorTextGetsAFullStop()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(TApplication::ErrorText(text), shown);
    }

    void guardShowsWhatAHandlerThrows_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("application error") << 0 << "Disk full.";
        QTest::newRow("standard exception") << 1 << "bad thing.";
        QTest::newRow("anything else") << 2 << "Unknown error.";
    }
    void guardShowsWhatAHandlerThrows()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        TScriptedDialogs dialogs;
        TApplication app(&dialogs);
        app.SetTitle(QStringLiteral("Velorand - Connected"));
        const auto handler = app.Guard([kind] {
            if (kind == 0)
                throw TAppError(QStringLiteral("Disk full"));
            if (kind == 1)
                throw std::runtime_error("bad thing");
            throw 42;
        });
        handler();
        QCOMPARE(dialogs.Errors.size(), 1);
        QCOMPARE(dialogs.Errors.first().Caption, QStringLiteral("Velorand - Connected"));
        QCOMPARE(dialogs.Errors.first().Text, text);
    }

    void guardedMemberHandlerGetsItsArguments()
    {
        TScriptedDialogs dialogs;
        TApplication app(&dialogs);
        THandlers handlers;
        app.Guard(&handlers, &THandlers::Counts)(3);
        QCOMPARE(handlers.Runs, 3);
        app.Guard(&handlers, &THandlers::Fails)();
        QCOMPARE(handlers.Runs, 4);
        QCOMPARE(dialogs.Errors.size(), 1);
        QCOMPARE(dialogs.Errors.first().Text, QStringLiteral("File not found."));
    }

    // An event property tells its sender; a handler that does not ask for it still runs guarded.
    void guardedHandlerIgnoresWhatItDoesNotAskFor()
    {
        TScriptedDialogs dialogs;
        TApplication app(&dialogs);
        THandlers handlers;
        QObject sender;
        const TNotifyEvent failing = app.Guard(&handlers, &THandlers::Fails);
        failing(&sender);
        const std::function<void(int, QObject *)> counting = app.Guard(&handlers, &THandlers::Counts);
        counting(2, &sender);
        QCOMPARE(handlers.Runs, 3);
        QCOMPARE(dialogs.Errors.size(), 1);
    }

    // Task bars show the main window's icon name; every caption stays as its window set it.
    void titleIsTheMainWindowsIconName()
    {
        TScriptedDialogs dialogs;
        TApplication app(&dialogs);
        app.SetTitle(QStringLiteral("Velorand v1.9b"));
        QWidget window;
        window.setWindowTitle(QStringLiteral("Caption"));
        app.SetMainWindow(&window);
        QCOMPARE(window.windowIconText(), QStringLiteral("Velorand v1.9b"));
        app.SetTitle(QStringLiteral("Velorand - Connected"));
        QCOMPARE(window.windowIconText(), QStringLiteral("Velorand - Connected"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Caption"));
        QVERIFY(QGuiApplication::applicationDisplayName() != app.Title());
        QVERIFY(!QApplication::windowIcon().isNull());
        QCOMPARE(QApplication::windowIcon().availableSizes().value(0), QSize(32, 32));
    }

    void fileFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("nameFilters");
        QTest::newRow("send file") << "All files (*.*)|*.*|HEX file (*.hex)|*.hex|BIN file (*.bin)|*.bin"
                                   << QStringList{"All files (*)", "HEX file (*.hex)", "BIN file (*.bin)"};
        QTest::newRow("several patterns") << "Images|*.png;*.gif" << QStringList{"Images (*.png *.gif)"};
        QTest::newRow("dangling description") << "Logs (*.log)|*.log|Broken" << QStringList{"Logs (*.log)"};
        QTest::newRow("empty") << "" << QStringList();
    }
    void fileFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, nameFilters);
        QCOMPARE(TFileFilter::NameFilters(filter), nameFilters);
    }

    void defaultExtension_data()
    {
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("pattern") << "*.log" << "log";
        QTest::newRow("dotted") << ".log" << "log";
        QTest::newRow("bare") << "log" << "log";
        QTest::newRow("any") << "*.*" << "";
        QTest::newRow("empty") << "" << "";
    }
    void defaultExtension()
    {
        QFETCH(QString, ext);
        QFETCH(QString, suffix);
        QCOMPARE(TFileFilter::Suffix(ext), suffix);
    }
};

QTEST_MAIN(TstApplication)
#include "tst_application.moc"
