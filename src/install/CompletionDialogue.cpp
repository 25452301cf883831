#include "CompletionDialogue.h"

#include "i18n/TextNumbers.h"
#include "install/InstallContext.h"
#include "install/InstallUi.h"
#include "install/StatusFiles.h"
#include "selection/WizardState.h"

namespace {
const QString Completed = QStringLiteral("Completed");
const QString CloseInstaller = QStringLiteral("Close Installer");
} // namespace

CompletionDialogue::CompletionDialogue(InstallContext &context) : m_context(context) {}

QStringList CompletionDialogue::run(bool runResult)
{
    const QString closeQuestion = m_context.text(InstallText::CloseQuestion);
    const QString completed = m_context.text(InstallText::Completed) + u'\n' + closeQuestion;
    const QList<DataKind> kinds = kindsWithStatus();
    if (kinds.isEmpty()) {
        if (runResult)
            askToClose(completed, Completed);
        else
            askToClose(closeQuestion, CloseInstaller);
        return {};
    }

    const QString offer = m_context.text(InstallText::SaveListsQuestion) + QStringLiteral("\n\n")
                          + fileNames(kinds);
    if (!m_context.ui.askYesNo(Question::SaveStatus, offer,
                               runResult ? Completed : QStringLiteral("Save fail list"))) {
        if (runResult)
            askToClose(completed, Completed);
        else
            askToClose(closeQuestion, CloseInstaller);
        return {};
    }

    const QStringList saved = save(kinds);
    if (saved.isEmpty()) {
        askToClose(closeQuestion, CloseInstaller);
        return saved;
    }
    QStringList shown;
    for (const QString &path : saved)
        shown.append(NativePath(path));
    askToClose(m_context.text(InstallText::ListsSaved) + QStringLiteral("\n\n") + shown.join(u'\n')
                       + QStringLiteral("\n\n") + closeQuestion,
               QStringLiteral("Saved"));
    return saved;
}

void CompletionDialogue::askToClose(const QString &text, const QString &caption)
{
    m_context.state.closingAllowed = true;
    if (m_context.ui.askYesNo(Question::CloseInstaller, text, caption))
        m_context.ui.closeInstaller();
    else
        m_context.state.closingAllowed = false;
}

QList<DataKind> CompletionDialogue::kindsWithStatus() const
{
    QList<DataKind> kinds;
    for (DataKind kind : AllDataKinds) {
        if (m_context.state.kind(kind).selected && !m_context.kindLists(kind).status.isEmpty())
            kinds.append(kind);
    }
    return kinds;
}

QString CompletionDialogue::fileName(DataKind kind) const
{
    return StatusFileName(kind, m_context.statusFolder, QDate::currentDate());
}

QString CompletionDialogue::fileNames(const QList<DataKind> &kinds) const
{
    QStringList names;
    for (DataKind kind : kinds)
        names.append(NativePath(fileName(kind)));
    return names.join(u'\n');
}

// Saves each kind's list; a file that cannot be written is reported by name
// and left out of the files named as saved.
QStringList CompletionDialogue::save(const QList<DataKind> &kinds)
{
    QStringList saved;
    for (DataKind kind : kinds) {
        const QString path = fileName(kind);
        QString error;
        if (SaveStatusFile(path, m_context.kindLists(kind).status, &error)) {
            saved.append(path);
            continue;
        }
        ++m_notSaved;
        m_context.ui.showWarning(m_context.text(InstallText::StatusFileNotSaved) + error,
                                 QStringLiteral("Warning"));
    }
    return saved;
}
