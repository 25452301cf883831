#pragma once

#include "install/InstallUi.h"
#include "install/KindLists.h"
#include "platform/WindowsNames.h"
#include "selection/DataKind.h"

#include <array>
#include <functional>
#include <optional>

class RunJournal;
class UnpackQueue;
class UnitTree;
class WizardState;
struct LanguageTextTable;

// What the steps of an install run share: the wizard's state, the texts of the
// run's language, the interface that shows and asks, and per kind the lists
// of the run. The steps themselves live in their own files.
class InstallContext
{
public:
    InstallContext(WizardState &state, const LanguageTextTable &texts, InstallUi &ui);

    WizardState &state;
    const LanguageTextTable &texts;
    InstallUi &ui;

    std::array<KindLists, 3> lists;
    float scanProgress = 0;        // grows by 0.5 for every folder scanned
    QString statusFolder;          // where the status files are saved
    QString journalFolder;         // where the run's journal is kept
    QString lockFolder;            // where the lock that keeps runs apart is taken
    bool runLockHeld = false;      // the caller holds that lock for its whole command
    RunJournal *journal = nullptr; // while the run proper writes into the destination
    // Threads that unpack the copied packages; 0 for as many as the machine
    // has cores (at most 8), 1 for all on the run's own thread.
    int unpackWorkers = 0;
    // With worker threads: the queue that unpacks each copy of the current
    // kind as soon as the copy step has made it.
    UnpackQueue *unpackAhead = nullptr;
    // The answer to every overwrite question when it is known before the run
    // (the unattended install); empty when a person answers each.
    std::optional<OverwriteAnswer> presetOverwrite;
    // The system asked the program to stop: the run is undone without questions.
    bool stopping = false;
    // Names that cannot exist on Windows are refused as the lists are built.
    bool windowsNames = SystemKeepsWindowsNames();

    // Called once the lists are built and mapped, before anything is
    // installed; it may narrow them (a repair keeps what is missing or
    // different, so that the run touches nothing else).
    std::function<void(InstallContext &)> narrowLists;

    // What the user's cancel took away, for the memo's account of the run.
    struct CancelRecord
    {
        bool removalChosen = false; // Yes to "remove the files installed so far?"
        int files = 0;              // installed data files removed
        int folders = 0;            // folders removed
        int restored = 0;           // replaced files put back
    };
    CancelRecord cancelRecord;

    KindLists &kindLists(DataKind kind) { return lists[KindIndex(kind)]; }
    const KindLists &kindLists(DataKind kind) const { return lists[KindIndex(kind)]; }
    KindLists &currentLists();
    DataKind currentKind() const;
    // The unit tree of the current kind, which a User install is built from.
    const UnitTree &currentTree() const;

    QString text(int number) const;

    // Sets the bar and the percent label to the same value.
    void showProgress(int value);

    // Lets window events run, then, when Cancel was pressed since the last
    // look, clears the request and asks whether to cancel. True when the user
    // confirmed; closing the window stays refused throughout.
    // When the system asked the program to stop, true at once without a
    // question.
    bool cancelConfirmed(const QString &caption);
    // After a confirmed cancel: whether to remove what was installed so far.
    // Yes without a question when the system asked the program to stop.
    bool removalConfirmed(const QString &caption);
    // True once the system asked the program to stop; says so in the memo
    // the first time.
    bool stopRequested();

    // A line for a kind's status list, also shown in the memo.
    void reportLine(DataKind kind, const QString &line);
};

// A path as a person reads it, with the platform's separators.
QString NativePath(const QString &path);
