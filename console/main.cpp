#include "aboutfrm.h"
#include "application.h"
#include "mainform.h"
#include "programend.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication qtApp(argc, argv);
    TApplication app;
    app.SetTitle(QStringLiteral("Velorand v1.9b"));
    TMainForm mainForm(app);
    TAboutFrm aboutBox(&mainForm);
    mainForm.SetAboutBox(&aboutBox);
    TProgramEnd programEnd(mainForm);
    mainForm.show();
    return qtApp.exec();
}
