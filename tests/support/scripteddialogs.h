#pragma once

#include "dialogs.h"

#include <QList>
#include <QStringList>

#include <deque>

// The dialog interface for tests: answers from queues the test fills (an empty queue answers
// "cancelled"), and a record of everything the window asked. Nothing ever blocks.
class TScriptedDialogs : public TDialogs
{
public:
    struct TBox
    {
        QString Caption;
        QString Text;
    };

    // Answers, taken from the front.
    std::deque<std::optional<QString>> FileAnswers;
    std::deque<std::optional<QFont>> FontAnswers;
    std::deque<std::optional<QString>> TextAnswers;
    int ModalResult = 0;

    // What was asked, in order.
    QList<TFileOpenOptions> FileRequests;
    // The save dialogs among FileRequests; their answers come from FileAnswers too.
    QList<TFileOpenOptions> SaveRequests;
    QList<QFont> FontRequests;
    QStringList TextRequests;   // the captions
    QList<TBox> Warnings;
    QList<TBox> Errors;
    QList<QDialog *> ModalDialogs;
    int Beeps = 0;

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
