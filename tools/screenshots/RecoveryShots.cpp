#include "Shots.h"

#include "DemoDataSet.h"
#include "ShotSession.h"
#include "app/CommandLine.h"
#include "app/StartupRecovery.h"
#include "install/journal/JournalRecord.h"
#include "install/journal/RunJournal.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QMessageBox>

namespace {

bool write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A run in the session's language that was killed after it installed one
// file: the next start undoes it and says so before any window.
void walkRecovery(ShotSession &session)
{
    DemoDataSet dataSet(session.programFolder(), session.dataRoot());
    if (!dataSet.isValid())
        return session.report(dataSet.errorString());
    const QString installed = dataSet.vestraFolder() + QStringLiteral("/Bin/STY_2027SS/a.sty");
    const QString journal
            = RunJournal::defaultFolder() + QStringLiteral("/run-20270315-100000-000-1.journal");
    if (!write(installed, "new")
        || !write(journal, JournalHeader(session.language())
                                   + EncodeRecord({JournalRecord::Type::New, installed, {}})))
        return session.report(QStringLiteral("Cannot write the interrupted run"));
    CommandLine commandLine;
    commandLine.settings = dataSet.settings();
    session.grabModal(
            QStringLiteral("interrupted-installation"), [&] { RecoverBeforeWindows(commandLine); },
            [](QWidget *box) {
                static_cast<QMessageBox *>(box)->button(QMessageBox::Ok)->click();
            });
}

} // namespace

QList<Scenario> RecoveryScenarios()
{
    return {{QStringLiteral("recovery"), walkRecovery}};
}
