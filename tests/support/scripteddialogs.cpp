#include "scripteddialogs.h"

namespace {

template <typename T>
std::optional<T> Next(std::deque<std::optional<T>> &answers)
{
    std::optional<T> answer;
    if (!answers.empty()) {
        answer.swap(answers.front());
        answers.pop_front();
    }
    return answer;
}

} // namespace

std::optional<QString> TScriptedDialogs::OpenFile(QWidget *, const TFileOpenOptions &options)
{
    FileRequests.append(options);
    return Next(FileAnswers);
}

std::optional<QString> TScriptedDialogs::SaveFile(QWidget *parent, const TFileOpenOptions &options)
{
    SaveRequests.append(options);
    return OpenFile(parent, options);
}

std::optional<QFont> TScriptedDialogs::ChooseFont(QWidget *, const QFont &initial)
{
    FontRequests.append(initial);
    return Next(FontAnswers);
}

void TScriptedDialogs::WarningBox(QWidget *, const QString &caption, const QString &text)
{
    Warnings.append({caption, text});
}

void TScriptedDialogs::ErrorBox(QWidget *, const QString &caption, const QString &text)
{
    Errors.append({caption, text});
}

void TScriptedDialogs::Beep()
{
    ++Beeps;
}

std::optional<QString> TScriptedDialogs::InputText(QWidget *, const QString &caption, const QString &,
                                                   const QString &)
{
    TextRequests.append(caption);
    return Next(TextAnswers);
}

int TScriptedDialogs::RunModal(QDialog &dialog)
{
    ModalDialogs.append(&dialog);
    return ModalResult;
}
