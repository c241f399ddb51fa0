#include "qtdialogs.h"

#include "filefilter.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

std::optional<QString> RunFileDialog(QWidget *parent, const TFileOpenOptions &options,
                                     QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, options.Title);
    // An open dialog here may also name a file that is still to be created (a new log).
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(mode);
    const QStringList filters = TFileFilter::NameFilters(options.Filter);
    dialog.setNameFilters(filters);
    if (options.FilterIndex >= 0 && options.FilterIndex < filters.size())
        dialog.selectNameFilter(filters.at(options.FilterIndex));
    dialog.setDefaultSuffix(TFileFilter::Suffix(options.DefaultExt));
    if (!options.FileName.isEmpty())
        dialog.selectFile(options.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

std::optional<QString> TQtDialogs::OpenFile(QWidget *parent, const TFileOpenOptions &options)
{
    return RunFileDialog(parent, options, QFileDialog::AcceptOpen);
}

std::optional<QString> TQtDialogs::SaveFile(QWidget *parent, const TFileOpenOptions &options)
{
    return RunFileDialog(parent, options, QFileDialog::AcceptSave);
}

std::optional<QFont> TQtDialogs::ChooseFont(QWidget *parent, const QFont &initial)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent);
    return ok ? std::optional<QFont>(font) : std::nullopt;
}

void TQtDialogs::WarningBox(QWidget *parent, const QString &caption, const QString &text)
{
    QMessageBox::warning(parent, caption, text, QMessageBox::Ok);
}

void TQtDialogs::ErrorBox(QWidget *parent, const QString &caption, const QString &text)
{
    QMessageBox::critical(parent, caption, text, QMessageBox::Ok);
}

void TQtDialogs::Beep()
{
    QApplication::beep();
}

std::optional<QString> TQtDialogs::InputText(QWidget *parent, const QString &caption,
                                             const QString &label, const QString &initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, caption, label, QLineEdit::Normal, initial, &ok);
    return ok ? std::optional<QString>(text) : std::nullopt;
}

int TQtDialogs::RunModal(QDialog &dialog)
{
    return dialog.exec();
}
