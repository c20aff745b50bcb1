#include "ui/ScriptedDialogs.h"

bool TScriptedDialogs::Execute(TFileDialog &Dialog)
{
    ShownDialogs.append({Dialog.Name, Dialog.Filter, Dialog.FileName});
    if (FileAnswers.isEmpty()) {
        ++Unanswered;
        return false;
    }
    const std::optional<QString> answer = FileAnswers.takeFirst();
    if (!answer)
        return false;
    if (!answer->isEmpty())
        Dialog.FileName = *answer;
    return true;
}

bool TScriptedDialogs::Confirm(const QString &Text)
{
    Questions.append(Text);
    if (ConfirmAnswers.isEmpty()) {
        ++Unanswered;
        return false;
    }
    return ConfirmAnswers.takeFirst();
}
