#include "aboutfrm.h"
#include "application.h"
#include "commandline.h"
#include "mainform.h"
#include "programend.h"

#include <QApplication>

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
    mainForm.ApplyStartOptions(commandLine.Options());
    return qtApp.exec();
}
