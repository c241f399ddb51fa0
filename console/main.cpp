#include "aboutfrm.h"
#include "application.h"
#include "commandline.h"
#include "mainform.h"
#include "programend.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    const TCommandLine commandLine(TCommandLine::Arguments(argc, argv));
    if (commandLine.Ends())
        return commandLine.Finish();
    QApplication qtApp(argc, argv);
    TApplication app;
    app.SetTitle(QStringLiteral("Velorand v1.9b"));
    TMainForm mainForm(app);
    TAboutFrm aboutBox(&mainForm);
    mainForm.SetAboutBox(&aboutBox);
    TProgramEnd programEnd(mainForm);
    mainForm.show();
    // Inside the event loop: a quit signal while a box of theirs is open must end the program,
    // not just the box.
    QTimer::singleShot(0, &mainForm, [&] { mainForm.ApplyStartOptions(commandLine.Options()); });
    return qtApp.exec();
}
