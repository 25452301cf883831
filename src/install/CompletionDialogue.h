#pragma once

#include "selection/DataKind.h"

#include <QString>
#include <QStringList>

class InstallContext;

// The questions at the end of an install run: whether to save the status
// lists, which files were saved, and whether to close the installer.
class CompletionDialogue
{
public:
    explicit CompletionDialogue(InstallContext &context);

    // Asks what the outcome calls for; returns the status files saved.
    QStringList run(bool runResult);

    // How many status files the user asked for could not be saved.
    int notSaved() const { return m_notSaved; }

    // The closing question: Yes closes the installer, No leaves it open.
    void askToClose(const QString &text, const QString &caption);

private:
    QList<DataKind> kindsWithStatus() const;
    QString fileName(DataKind kind) const;
    QString fileNames(const QList<DataKind> &kinds) const;
    QStringList save(const QList<DataKind> &kinds);

    InstallContext &m_context;
    int m_notSaved = 0;
};
