#include "TSTYInstallForm.h"
#include "ui_TSTYInstallForm.h"

#include "i18n/Languages.h"
#include "i18n/LocalTexts.h"
#include "i18n/TextNumbers.h"
#include "install/InstallContext.h"
#include "install/InstallRun.h"
#include "platform/DriveList.h"
#include "platform/VersionStore.h"
#include "selection/DataSetDescription.h"
#include "selection/LocationRules.h"
#include "selection/WizardPages.h"
#include "ui/FormStyle.h"
#include "ui/MessageBoxes.h"
#include "ui/Pictures.h"
#include "wizard/TDirectoryDlgForm.h"
#include "wizard/UnitTreeAdapter.h"
#include "wizard/WizardAccessibility.h"
#include "wizard/WizardInstallUi.h"
#include "wizard/WizardPageKeys.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLayout>

using namespace WizardPages;

namespace {
const QColor Background(0xF5, 0xF4, 0xEB);
const QSize SmallestSize(520, 480);

// The height a page's layout asks for at a width, or the least it can do with;
// wrapped hints take more lines on a narrow window.
int PageHeight(const QLayout *layout, int width, bool least)
{
    if (layout->hasHeightForWidth())
        return least ? layout->totalMinimumHeightForWidth(width)
                     : layout->totalHeightForWidth(width);
    return least ? layout->totalMinimumSize().height() : layout->totalSizeHint().height();
}
} // namespace

TSTYInstallForm::TSTYInstallForm(const RunSettings &settings, QWidget *owner)
    : QWidget(owner, Qt::Window)
    , ui(std::make_unique<Ui::TSTYInstallForm>())
    , m_settings(settings)
    , m_owner(owner)
{
    ui->setupUi(this);
    FormStyle::ShowFocusAlways();
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setUpWidgets();

    WizardInstallUi::Widgets widgets;
    widgets.window = this;
    widgets.Installprgbar = ui->Installprgbar;
    widgets.lbPercent = ui->lbPercent;
    widgets.stPercent = ui->stPercent;
    widgets.stInstall = ui->stInstall;
    widgets.Timer = ui->Timer;
    widgets.mmInstallStatus = ui->mmInstallStatus;
    widgets.runButtons = {ui->sbPrev5, ui->btInstall};
    widgets.btCancel = ui->btCancel;
    m_installUi = std::make_unique<WizardInstallUi>(widgets, m_texts);
    m_context = std::make_unique<InstallContext>(m_state, m_texts, *m_installUi);
    if (!settings.statusFolder.isEmpty())
        m_context->statusFolder = settings.statusFolder;
    m_run = std::make_unique<InstallRun>(*m_context);
    connectButtons();
    // The keyboard starts where a page is used: the first kind on page 1,
    // the unit tree on a kind's page, Install on page 5.
    m_keys = new WizardPageKeys(
            this, ui->pages,
            {{ui->cbSTYInstall, ui->cbSTIInstall, ui->cbDETAILInstall, ui->sbNext1},
             {ui->tvSelectUnit},
             {ui->tvSelectUnit2},
             {ui->tvSelectUnit3},
             {ui->btInstall}},
            {ui->sbNext1, ui->sbNext2, ui->sbNext3, ui->sbNext4, ui->btInstall});
    showPage(PageOne);
}

TSTYInstallForm::~TSTYInstallForm() = default;

void TSTYInstallForm::setUpWidgets()
{
    InitPictures();
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Background);
    setPalette(colours);
    setAutoFillBackground(true);

    m_kindBoxes = {ui->cbSTYInstall, ui->cbSTIInstall, ui->cbDETAILInstall};
    m_pathLabels = {ui->lbDataInstallPath, ui->lbDataInstallPath2, ui->lbDataInstallPath3};
    m_clickHints = {ui->lbClickmsg, ui->lbClickmsg2, ui->lbClickmsg3};
    const std::array<QTreeWidget *, 3> trees{ui->tvSelectUnit, ui->tvSelectUnit2,
                                             ui->tvSelectUnit3};
    const std::array<QIcon, 3> imglstCheckBox{QIcon(Pictures::CheckImage(0)),
                                              QIcon(Pictures::CheckImage(1)),
                                              QIcon(Pictures::CheckImage(2))};
    for (DataKind kind : AllDataKinds) {
        const int i = KindIndex(kind);
        m_adapters[i]
                = new UnitTreeAdapter(trees[i], &m_state.kind(kind).units, imglstCheckBox, this);
    }
    for (QPushButton *next : {ui->sbNext1, ui->sbNext2, ui->sbNext3, ui->sbNext4}) {
        next->setIcon(QIcon(Pictures::Next));
        next->setLayoutDirection(Qt::RightToLeft); // the glyph right of the text
    }
    for (QToolButton *folder : {ui->sbDirectory, ui->sbDirectory2, ui->sbDirectory3})
        folder->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    ui->Installprgbar->setRange(0, 100);
    ui->lbInstallPath->setMinimumHeight(3 * fontMetrics().lineSpacing() + 6);
}

void TSTYInstallForm::connectButtons()
{
    connect(ui->sbNext1, &QPushButton::clicked, this, &TSTYInstallForm::sbNext1Click);
    connect(ui->sbNext2, &QPushButton::clicked, this, [this] { kindPageNextClick(DataKind::STY); });
    connect(ui->sbNext3, &QPushButton::clicked, this, [this] { kindPageNextClick(DataKind::STI); });
    connect(ui->sbNext4, &QPushButton::clicked, this,
            [this] { kindPageNextClick(DataKind::DETAIL); });
    connect(ui->sbPrev1, &QPushButton::clicked, this, &TSTYInstallForm::sbPrev1Click);
    connect(ui->sbPrev2, &QPushButton::clicked, this, [this] { sbPrevClick(PageTwo); });
    connect(ui->sbPrev3, &QPushButton::clicked, this, [this] { sbPrevClick(PageThree); });
    connect(ui->sbPrev4, &QPushButton::clicked, this, [this] { sbPrevClick(PageFour); });
    connect(ui->sbPrev5, &QPushButton::clicked, this, &TSTYInstallForm::sbPrev5Click);
    connect(ui->sbDirectory, &QToolButton::clicked, this,
            [this] { sbDirectoryClick(DataKind::STY); });
    connect(ui->sbDirectory2, &QToolButton::clicked, this,
            [this] { sbDirectoryClick(DataKind::STI); });
    connect(ui->sbDirectory3, &QToolButton::clicked, this,
            [this] { sbDirectoryClick(DataKind::DETAIL); });
    connect(ui->btInstall, &QPushButton::clicked, this, &TSTYInstallForm::btInstallClick);
    connect(ui->btCancel, &QPushButton::clicked, this, &TSTYInstallForm::btCancelClick);
}

QString TSTYInstallForm::text(int number) const
{
    return GetText(m_texts, number);
}

void TSTYInstallForm::ApplyInstallFormTexts()
{
    (void) LoadTextTable(m_texts, m_settings.programFolder, CurrentLanguageName(),
                         TextSection::InstallForm);
    ui->gbData->setTitle(text(InstallText::DataGroup));
    ui->StaticText1->setText(text(InstallText::DataHint));
    ui->gbDataInformation->setTitle(text(InstallText::DataInformationGroup));
    ui->lbYear->setText(text(InstallText::YearLabel));
    ui->lbSeason->setText(text(InstallText::SeasonLabel));
    ui->lbVolume->setText(TextOr(m_texts, InstallText::VolumeLabel, QStringLiteral("Volume :")));
    ui->cbSTYInstall->setText(TextOr(m_texts, InstallText::StyDataBox, QStringLiteral("STY Data")));
    ui->cbSTIInstall->setText(TextOr(m_texts, InstallText::StiDataBox, QStringLiteral("STI Data")));
    ui->cbDETAILInstall->setText(
            TextOr(m_texts, InstallText::DetailDataBox, QStringLiteral("DETAIL Data")));
    ui->gbType->setTitle(text(InstallText::TypeGroup));
    ui->rbBasic->setText(text(InstallText::BasicRadio));
    ui->rbUser->setText(text(InstallText::UserRadio));
    for (QPushButton *next : {ui->sbNext1, ui->sbNext2, ui->sbNext3, ui->sbNext4})
        next->setText(text(InstallText::NextButton));
    for (QLabel *hint : m_clickHints)
        hint->setText(text(InstallText::ClickHint));
    for (QPushButton *prev : {ui->sbPrev1, ui->sbPrev2, ui->sbPrev3, ui->sbPrev4, ui->sbPrev5})
        prev->setText(text(InstallText::PrevButton));
    ui->btInstall->setText(text(InstallText::InstallButton));
    ui->stInstall->setText(text(InstallText::InstallButton));
    ui->btCancel->setText(text(InstallText::CancelButton));
    const QString group = text(InstallText::InstallPathGroup);
    ui->gb3->setTitle(group);
    ui->gbInstallPath->setTitle(group + QStringLiteral(" - STY"));
    ui->gbInstallPath2->setTitle(group + QStringLiteral(" - STI"));
    ui->gbInstallPath3->setTitle(group + QStringLiteral(" - DETAIL"));
    for (QLabel *check : {ui->lbCheck, ui->lbCheck2, ui->lbCheck3})
        check->setText(text(InstallText::CheckNote));
    for (QToolButton *folder : {ui->sbDirectory, ui->sbDirectory2, ui->sbDirectory3})
        folder->setToolTip(TextOr(m_texts, InstallText::FolderButtonTip,
                                  QStringLiteral("Choose Install Location")));
    DescribeWizard(*ui, m_texts);
    fitWindow();
}

// The window does not change size while it is used, so it is sized once for
// the longest hint the folder pages can show in this language. On a small or
// scaled screen the trees and the memo give up height, the hints wrap, and
// where that is not enough the pages close up their spacing.
void TSTYInstallForm::fitWindow()
{
    const QSize room = FormStyle::ClientRoom(this);
    QSize wanted = SmallestSize;
    forEachHint([&] { wanted = wanted.expandedTo(sizeHint()); });
    const int width = std::max(std::min(wanted.width(), room.width()), minimumSizeHint().width());
    int least = leastHeight(width);
    if (least > room.height()) {
        FormStyle::Compact(this);
        least = leastHeight(width);
    }
    forEachHint([&] {
        for (int page = 0; page < ui->pages->count(); ++page)
            wanted.setHeight(std::max(wanted.height(),
                                      PageHeight(ui->pages->widget(page)->layout(), width, false)));
    });
    setFixedSize(width, std::max(std::min(wanted.height(), room.height()), least));
    FormStyle::CentreOnScreen(this);
}

// The least height at which every page shows all its controls at this width.
int TSTYInstallForm::leastHeight(int width)
{
    int least = 0;
    forEachHint([&] {
        for (int page = 0; page < ui->pages->count(); ++page)
            least = std::max(least, PageHeight(ui->pages->widget(page)->layout(), width, true));
    });
    return least;
}

// Calls measure() with each hint the folder pages can show in turn on page 2,
// then puts the plain hint back.
void TSTYInstallForm::forEachHint(const std::function<void()> &measure)
{
    for (int pair : {InstallText::HintAllKinds, InstallText::HintStyAndSti,
                     InstallText::HintStyAndDetail, InstallText::HintStiAndDetail}) {
        ui->lbClickmsg->setText(text(InstallText::ClickHint) + text(pair)
                                + text(InstallText::HintDifferentFolders));
        layout()->activate();
        measure();
    }
    ui->lbClickmsg->setText(text(InstallText::ClickHint));
}

bool TSTYInstallForm::Prepare(DataSetDescription &description)
{
    m_prepareFailure.clear();
    QString error;
    DataSetProblem problem;
    if (!LoadDataSetDescription(m_settings.dataSetFolder, &description, &error, &problem)) {
        m_prepareFailure = DataSetProblemMessage(problem, m_texts);
        return false;
    }
    const auto store = OpenVersionStore(m_settings.registryFile, m_settings.programFolder);
    const bool prepared = m_state.prepare(description, m_settings.dataSetFolder, *store);
    for (DataKind kind : AllDataKinds)
        m_kindBoxes[KindIndex(kind)]->setEnabled(m_state.kind(kind).enabled);
    ui->stYear->setText(description.year);
    ui->stSeason->setText(description.season);
    ui->stVolume->setText(QString::number(description.volume));
    if (!prepared) {
        m_prepareFailure = text(InstallText::NoTargetApplication) + store->location();
        if (!store->errorString().isEmpty())
            m_prepareFailure += u'\n'
                                + TextOr(m_texts, InstallText::SystemMessage,
                                         QStringLiteral("System message: "))
                                + store->errorString();
        return false;
    }
    ui->mmInstallStatus->clear();
    showPage(PageOne);
    return true;
}

void TSTYInstallForm::closeEvent(QCloseEvent *event)
{
    if (!m_state.closingAllowed && !ui->btInstall->isEnabled()) {
        // An install is running: it stops at its next look at the flag.
        m_state.cancelRequested = true;
        event->ignore();
        return;
    }
    event->accept();
    if (m_owner && !m_owner->isVisible())
        m_owner->close();
}

void TSTYInstallForm::showPage(int page)
{
    if (const auto kind = PageKind(page))
        m_state.currentKind = *kind;
    ui->pages->setCurrentIndex(page);
    m_keys->focusPage(page);
}

bool TSTYInstallForm::refused(const std::optional<Refusal> &refusal)
{
    if (!refusal)
        return false;
    ShowMessageBox(this, QMessageBox::Warning, InstallCaption(m_texts, refusal->caption),
                   refusal->text, WizardInstallUi::ButtonWords(m_texts));
    return true;
}

void TSTYInstallForm::sbNext1Click()
{
    for (DataKind kind : AllDataKinds)
        m_state.kind(kind).checked = m_kindBoxes[KindIndex(kind)]->isChecked();
    m_state.userInstall = ui->rbUser->isChecked();
    m_state.takeSelection();
    const QString hint = ClickHint(m_state, m_texts);
    for (QLabel *label : m_clickHints)
        label->setText(hint);
    if (refused(PageChecks::checkSelection(m_state, m_texts)))
        return;
    for (DataKind kind : AllDataKinds) {
        if (m_state.kind(kind).selected)
            m_state.kind(kind).destination = m_state.defaultDestination(kind);
    }
    if (!m_state.userInstall) {
        ui->lbInstallPath->setText(InstallSummary(m_state, PageOne));
        showPage(PageFive);
        return;
    }
    enterKindPage(*NextKind(m_state, std::nullopt));
}

void TSTYInstallForm::kindPageNextClick(DataKind kind)
{
    if (refused(PageChecks::checkDestination(kind, m_state, m_texts)))
        return;
    KindState &state = m_state.kind(kind);
    state.hasCheckedUnit = state.units.hasCheckedUnit();
    if (const auto next = NextKind(m_state, kind)) {
        enterKindPage(*next);
        return;
    }
    ui->lbInstallPath->setText(InstallSummary(m_state, KindPage(kind)));
    showPage(PageFive);
}

// Shows a kind's page, building its unit tree the first time; stays where
// it is when the kind's source folder is missing.
void TSTYInstallForm::enterKindPage(DataKind kind)
{
    m_state.currentKind = kind;
    KindState &state = m_state.kind(kind);
    m_pathLabels[KindIndex(kind)]->setText(QDir::toNativeSeparators(state.destination));
    if (state.units.isEmpty()) {
        if (!state.units.build(kind, state.sourceFolder, state.folderName)) {
            ShowMessageBox(this, QMessageBox::Warning,
                           InstallCaption(m_texts, QStringLiteral("Warning")),
                           text(InstallText::SourceFolderMissing) + u'\n'
                                   + QDir::toNativeSeparators(state.sourceFolder),
                           WizardInstallUi::ButtonWords(m_texts));
            return;
        }
        m_adapters[KindIndex(kind)]->populate();
    }
    showPage(KindPage(kind));
}

void TSTYInstallForm::sbPrevClick(int page)
{
    showPage(PreviousPage(page, m_state));
}

void TSTYInstallForm::sbPrev1Click()
{
    if (m_owner)
        m_owner->show();
    close();
}

void TSTYInstallForm::sbPrev5Click()
{
    ui->lbInstallPath1->clear();
    ui->lbInstallPath2->clear();
    ui->lbPercent->setText(QStringLiteral("0"));
    ui->Installprgbar->setValue(0);
    ui->mmInstallStatus->clear();
    // The page is as it was before the run: its caption in place of the
    // last stage, no elapsed time, no percent.
    ui->stInstall->setText(text(InstallText::InstallButton));
    ui->Timer->clear();
    m_installUi->setPercentVisible(false);
    sbPrevClick(PageFive);
}

void TSTYInstallForm::sbDirectoryClick(DataKind kind)
{
    TDirectoryDlgForm dialog(m_settings.programFolder, OpenDriveList(), this);
    dialog.SetUp(LocationRules::SetupFor(kind, m_state));
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_state.kind(kind).destination = dialog.chosenPath();
    m_pathLabels[KindIndex(kind)]->setText(QDir::toNativeSeparators(dialog.chosenPath()));
}

void TSTYInstallForm::btInstallClick()
{
    // While the run is busy the focus rests on the memo, where neither Enter
    // nor Space does anything: only a deliberate Tab, click or Escape reaches
    // Cancel.
    ui->mmInstallStatus->setFocus(Qt::OtherFocusReason);
    m_run->btInstallClick();
    // The system asked the program to stop; the run has undone its work.
    if (m_run->outcome() == InstallRun::Outcome::Interrupted)
        QCoreApplication::exit(2);
    focusAfterRun();
}

// Where the user goes on from: a run that failed or was cancelled is tried
// again with Install; after one that installed, or could not start for a
// choice made earlier, the way is Back.
void TSTYInstallForm::focusAfterRun()
{
    switch (m_run->outcome()) {
    case InstallRun::Outcome::Aborted:
    case InstallRun::Outcome::KindFailed:
        ui->btInstall->setFocus(Qt::OtherFocusReason);
        break;
    default:
        ui->sbPrev5->setFocus(Qt::OtherFocusReason);
        break;
    }
}

// Escape on the last page is Cancel, while there is a run to cancel.
void TSTYInstallForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier
        && ui->btCancel->isVisible() && ui->btCancel->isEnabled()) {
        ui->btCancel->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TSTYInstallForm::btCancelClick()
{
    m_state.cancelRequested = true;
}
