#pragma once

#include "dialogs.h"

#include <QStringList>

// The dialog interface on Qt's own dialogs and message boxes.
class TQtDialogs : public TDialogs
{
public:
    std::optional<QString> OpenFile(QWidget *parent, const TFileOpenOptions &options) override;
    std::optional<QString> SaveFile(QWidget *parent, const TFileOpenOptions &options) override;
    std::optional<QFont> ChooseFont(QWidget *parent, const QFont &initial) override;
    void WarningBox(QWidget *parent, const QString &caption, const QString &text) override;
    void ErrorBox(QWidget *parent, const QString &caption, const QString &text) override;
    void Beep() override;
    std::optional<QString> InputText(QWidget *parent, const QString &caption, const QString &label,
                                     const QString &initial) override;
    int RunModal(QDialog &dialog) override;
};
