#pragma once

// The numbers of the texts in the language files, one enum per section.
// A text is fetched with GetText(table, number).

// Section "Main": the welcome window.
namespace MainText {
enum : int {
    ProgramMenu = 0,
    CloseEntry = 1,
    LanguageMenu = 2,
    EnglishEntry = 3,
    KoreanEntry = 4,
    NextButton = 6,
    VersionNote = 8,
    ChineseEntry = 9,
    IndonesianEntry = 10,
    JapaneseEntry = 11,
    TaiwaneseEntry = 12,
    ThaiEntry = 13,
    WarningCaption = 14,
    OkButton = 15,
    PictureUnreadable = 16,
    SystemMessage = 17, // marks the system's own (English) words after a cause
    HomePageLink = 18,  // the links' names for the keyboard and screen readers
    EMailLink = 19,
    // The texts the readme card is drawn from, read out in its stead.
    ReadmeSubtitle = 35,
    ReadmeInstallsHeading = 36,
    ReadmeInstallsBody = 37,
    ReadmeRequirement = 38,
    ReadmeStepsHeading = 39,
    ReadmeStep1 = 40,
    ReadmeStep2 = 41,
    ReadmeStep3 = 42,
    ReadmeStep4 = 43,
    ReadmeHomePage = 44,
    ReadmeContactNote = 45,
    ReadmeBoxName = 46, // the name of the box that scrolls the card
};
} // namespace MainText

// Section "InstallForm": the wizard and the install run.
namespace InstallText {
enum : int {
    DataGroup = 0,
    DataHint = 1,
    DataInformationGroup = 3,
    YearLabel = 6,
    SeasonLabel = 7,
    TypeGroup = 8,
    BasicRadio = 9,
    UserRadio = 10,
    NextButton = 11,
    ClickHint = 15,
    PrevButton = 16,
    InstallButton = 17,
    CancelButton = 18,
    InstallPathGroup = 19,
    CancelQuestion = 22,
    RemoveFilesQuestion = 23,
    CannotDeleteWarning = 24,
    OverwriteQuestion = 25,
    Completed = 26,
    SaveListsQuestion = 27,
    ListsSaved = 28,
    CloseQuestion = 29,
    SourceFolderMissing = 30,
    NothingSelected = 31,
    DestinationMissing = 32,
    DestinationTaken = 33,
    CollectingTitle = 36,
    StyTitle = 37,
    StiTitle = 38,
    FolderNotCreated = 39,
    FolderExists = 40,
    Overwritten = 41,
    NotOverwritten = 42,
    StyFailed = 43,
    StiFailed = 44,
    FileNotDeleted = 45,
    FolderNotDeleted = 46,
    StyStarted = 47,
    StiStarted = 48,
    StyInstalled = 49,
    StiInstalled = 50,
    Collecting = 51,
    CheckNote = 52,
    DetailTitle = 54,
    DetailStarted = 55,
    DetailInstalled = 56,
    DetailFailed = 57,
    ProtectedFolder = 58,
    ChooseAnotherFolder = 59,
    HintAllKinds = 60,
    HintStyAndSti = 61,
    HintStyAndDetail = 62,
    HintStiAndDetail = 63,
    HintDifferentFolders = 64,
    FileNotInstalled = 65,
    StatusFileNotSaved = 66,
    NoTargetApplication = 67,
    ElapsedSeconds = 68,
    DataSetUnreadable = 69,
    StyInstalledWithErrors = 70, // %1 of %2 files could not be installed
    StiInstalledWithErrors = 71,
    DetailInstalledWithErrors = 72,
    // Why a file could not be installed, after its path in a status line.
    ReasonDoesNotInflate = 73,
    ReasonWrongSize = 74,
    ReasonTooShort = 75,
    ReasonOldFormat = 76,
    ReasonCannotRead = 77,
    ReasonFolderNotCreated = 78,
    ReasonFileInTheWay = 79,
    ReasonNoPermission = 80,
    ReasonDiskFull = 81,
    CancelledKept = 82,
    CancelledRemoved = 83, // %1 files and %2 folders
    SourceFolderNotFound = 84,
    SourceFolderUnreadable = 85,
    RunAsAdministrator = 86,
    StatusLinesNotSaved = 87,
    StoppedAtFile = 88,
    InstalledWithUnreadFolders = 89, // the %1 data ...: %2 folders could not be read
    // Captions of the message boxes, by the English caption the engine passes.
    QuestionCaption = 140,
    WarningCaption = 141,
    NotSelectedCaption = 142,
    CompletedCaption = 143,
    SaveFailListCaption = 144,
    CloseInstallerCaption = 145,
    DeleteFilesCaption = 146,
    RemoveFilesCaption = 147,
    InstallingCancelCaption = 148,
    CancelCaption = 149,
    CancelInstallingCaption = 150,
    SavedCaption = 151,
    OverwriteButtons = 152, // "&Yes|&All|&No|Cancel", in this order
    YesButton = 153,
    NoButton = 154,
    OkButton = 155,
    VolumeLabel = 156,
    StyDataBox = 157,
    StiDataBox = 158,
    DetailDataBox = 159,
    StyInstallFolder = 160,
    StiInstallFolder = 161,
    SystemMessage = 162,
    DataSetMissing = 163,
    DataSetNotReadable = 164,
    DataSetNoSection = 165,
    DataSetBadVolume = 166,
    DataSetNoFolder = 167,
    DataSetBadFolder = 168,
    // Checking installed data against the delivery, and repairing it.
    CheckingKind = 115, // checking the installed %1 data
    NotAsDelivered = 116,
    ReasonMissing = 117,
    ReasonDifferentSize = 118,
    ReasonDifferentContent = 119,
    ReasonInstalledUnreadable = 120,
    NotChecked = 121,
    CheckSummary = 122, // %1 checked, %2 missing, %3 different, %4 not checked, %5 seconds
    CheckIdentical = 123,
    CheckDifferent = 124,
    CheckIncomplete = 125,
    RepairCount = 126, // %1 files: %2 missing, %3 different
    NothingToRepair = 127,
    CheckingRepair = 128,
    RepairComplete = 129,
    RepairIncomplete = 130,
    ReportWritten = 131,
    ReportNotWritten = 132,
    // Names and descriptions for screen readers.
    FolderButtonName = 210, // choose the install folder of the %1 data
    ProgressName = 211,
    StatusMemoName = 212,
    ReasonLinkInTheWay = 90,
    ReasonFolderInTheWay = 91,
    ReasonNotRecorded = 92,
    NotEnoughSpace = 93, // on %1: needs %2, %3 free
    JournalNotWritable = 94,
    CancelledRemovedRestored = 95, // %1 files and %2 folders removed, %3 files put back
    BackupKept = 96,
    RunStopped = 97,
    Recovered = 98, // %1 files and %2 folders removed, %3 files put back
    NothingToRecover = 99,
    PendingRunBlocks = 170,
    EndNotRecorded = 171,
    SyncFailed = 172,
    JournalUnreadable = 173,
    JournalRefused = 174,
    RecoveryPending = 175, // %1 files and %2 folders to remove, %3 files to put back
    ReasonNotRemoved = 176,
    JournalFolderUnreadable = 177,
    ReasonNotReadThroughLink = 180, // a check found a link or special file at or above a file
    ReasonLeftover = 181,           // a temporary, backup or packed copy beside an installed file
    LeftoverCount = 182,            // %1 such files
    LeftoverRemoved = 183,
    // One install run at a time: process %1 of user %2, started %3.
    RunWaiting = 184, // ... waiting up to %4 seconds
    RunStillInProgress = 185,
    RunInProgressCheck = 186,
    RunInProgressWindow = 187,
    RunLockNotTaken = 188,
    // Names of the data set that cannot exist on Windows, and the rule each breaks.
    ReasonNameNotAllowed = 190,
    NameIsDevice = 191,
    NameEndsInDotOrSpace = 192,
    NameHasForbiddenCharacter = 193,
    NameDiffersOnlyInCase = 194, // followed by the other name
    FolderNotInstalled = 195,    // the folder and everything in it
    InterruptedCaption = 200,    // over the message about an interrupted run undone
    FolderButtonTip = 201,       // the folder buttons of pages 2 to 4
};
} // namespace InstallText

// Section "DirectoryDlgForm": the install location dialog.
namespace DirectoryText {
enum : int {
    VersionLabel = 0,
    DriveLabel = 1,
    FolderLabel = 2,
    PopupHint = 3,
    OkButton = 4,
    CancelButton = 5,
    CreateFolderEntry = 11,
    DeleteFolderEntry = 12,
    RemoteDrive = 15,
    OtherDrive = 16,
    VersionFolderRefused = 18,
    NewFolderName = 19,
    BadFolderName = 20,
    FolderExists = 21,
    FolderNotCreated = 22,
    DeleteQuestion = 23,
    FolderNotEmpty = 24,
    ProtectedFolder = 25,
    OtherDestination = 26,
    FolderNotDeleted = 27,
    WindowTitle = 28,
    WarningCaption = 29,
    InformationCaption = 30,
    DeleteFolderCaption = 31,
    YesButton = 32,
    NoButton = 33,
    ChosenFolderName = 40, // for screen readers: the label that shows the chosen folder
};
} // namespace DirectoryText
