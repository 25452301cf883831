#include "TMainForm.h"

#include "ui_TMainForm.h"

#include "i18n/Languages.h"
#include "i18n/TextNumbers.h"
#include "ui/FormStyle.h"
#include "ui/Pictures.h"
#include "ui/QtTranslations.h"
#include "ui/QuillonApplication.h"
#include "ui/ShellOpen.h"
#include "wizard/TSTYInstallForm.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QImageReader>
#include <QMessageBox>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace {

const int ClientWidth = 464;
const int ClientHeight = 538;
const QSize ReadMeSize(380, 350);

// The maker's addresses behind the links drawn in the readme pictures.
const QString HomePage = QStringLiteral("https://www.example.com/quillon");
const QString EMail = QStringLiteral("support@example.com");

// The language files write a line break as CR LF; a label breaks lines at LF.
QString labelText(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

} // namespace

TMainForm::TMainForm(const RunSettings &settings, QWidget *owner)
    : QMainWindow(owner, Qt::Window | Qt::MSWindowsFixedSizeDialogHint)
    , ui(std::make_unique<Ui::TMainForm>())
    , m_settings(settings)
{
    ui->setupUi(this);
    FormStyle::SetBackground(this);
    FormStyle::SetTitleStyle(ui->stMainText);

    QPalette white = ui->ScrollBox1->palette();
    white.setColor(QPalette::Window, Qt::white);
    ui->ScrollBox1->setPalette(white);
    ui->ScrollBox1->viewport()->setAutoFillBackground(true);
    ui->ScrollBox1->viewport()->installEventFilter(this);
    ui->imgReadMe->installEventFilter(this);
    for (QLabel *link : {ui->lbHomepage, ui->lbEMail}) {
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }

    InitPictures();
    ui->sbNext->setIcon(QIcon(Pictures::Next));
    connect(ui->sbNext, &QToolButton::clicked, this, &TMainForm::sbNextClick);
    connect(ui->msmClose, &QAction::triggered, this, &QWidget::close);
    connectLanguageEntries();

    LoadWelcomeTexts();
    LoadReadMePicture();
    ApplyWelcomeTexts();
    FormStyle::CentreOnScreen(this);
}

TMainForm::~TMainForm() = default;

TSTYInstallForm *TMainForm::installForm() const
{
    return m_wizard;
}

// One group of radio entries; none is checked until the user picks one.
void TMainForm::connectLanguageEntries()
{
    auto *group = new QActionGroup(this); // exclusive
    const QList<std::pair<QAction *, QString>> entries{
            {ui->msmEnglish, QStringLiteral("English")},
            {ui->msmKorean, QStringLiteral("Korean")},
            {ui->msmChinese, QStringLiteral("Chinese")},
            {ui->msmIndonesian, QStringLiteral("Indonesian")},
            {ui->msmJapanese, QStringLiteral("Japanese")},
            {ui->msmTaiwanese, QStringLiteral("Taiwanese")},
            {ui->msmThai, QStringLiteral("Thai")},
    };
    for (const auto &[entry, language] : entries) {
        group->addAction(entry);
        entry->setChecked(false);
        // Copied by name: clang before 16 cannot capture a structured binding.
        connect(entry, &QAction::triggered, this,
                [this, language = language] { msmLanguageClick(language); });
    }
}

void TMainForm::LoadWelcomeTexts()
{
    // A language without a file leaves the table empty: the captions go
    // blank rather than falling back to English as a whole.
    (void) LoadTextTable(m_texts, m_settings.programFolder, CurrentLanguageName(),
                         TextSection::Main);
    // A file too large to be a language file is not read; the user learns which.
    if (!m_texts.error.isEmpty())
        QuillonApplication::showException(m_texts.error);
}

void TMainForm::LoadReadMePicture()
{
    const QString name = CurrentLanguageName() == QLatin1String("Korean")
                                 ? QStringLiteral("readme_k.bmp")
                                 : QStringLiteral("readme_e.bmp");
    const QString path = m_settings.programFolder + u'/' + name;
    QImageReader reader(path);
    const QImage picture = reader.read();
    // A taller or wider readme than the usual one is scrolled, not cut off.
    ui->imgReadMe->resize(ReadMeSize.expandedTo(picture.size()));
    if (picture.isNull()) {
        ui->imgReadMe->clear();
        QuillonApplication::showException(
                QStringLiteral("Cannot load the picture \"%1\": %2")
                        .arg(QDir::toNativeSeparators(path), reader.errorString()));
        return;
    }
    ui->imgReadMe->setPixmap(QPixmap::fromImage(picture));
}

void TMainForm::ApplyWelcomeTexts()
{
    ui->mmProgram->setTitle(GetText(m_texts, MainText::ProgramMenu));
    ui->msmClose->setText(GetText(m_texts, MainText::CloseEntry));
    ui->mmLanguage->setTitle(GetText(m_texts, MainText::LanguageMenu));
    ui->msmEnglish->setText(GetText(m_texts, MainText::EnglishEntry));
    ui->msmKorean->setText(GetText(m_texts, MainText::KoreanEntry));
    ui->sbNext->setText(GetText(m_texts, MainText::NextButton));
    ui->Label1->setText(labelText(GetText(m_texts, MainText::VersionNote)));
    ui->msmChinese->setText(GetText(m_texts, MainText::ChineseEntry));
    ui->msmIndonesian->setText(GetText(m_texts, MainText::IndonesianEntry));
    ui->msmJapanese->setText(GetText(m_texts, MainText::JapaneseEntry));
    ui->msmTaiwanese->setText(GetText(m_texts, MainText::TaiwaneseEntry));
    ui->msmThai->setText(GetText(m_texts, MainText::ThaiEntry));

    // A longer translation of the note takes more lines, not a cut.
    const int noteHeight = ui->Label1->heightForWidth(ui->Label1->maximumWidth());
    ui->Label1->setMinimumHeight(std::max(34, noteHeight));
    FormStyle::FixSize(this, ClientWidth, ClientHeight + menuBar()->sizeHint().height());
}

void TMainForm::msmLanguageClick(const QString &language)
{
    SetCurrentLanguageName(language);
    UseQtTranslations(language);
    LoadWelcomeTexts();
    LoadReadMePicture();
    ApplyWelcomeTexts();
}

void TMainForm::sbNextClick()
{
    hide();
    auto *wizard = new TSTYInstallForm(m_settings, this);
    m_wizard = wizard;
    wizard->show();
    wizard->ApplyInstallFormTexts();
    if (!wizard->Prepare(m_description)) {
        // Without a data set or an installed Vestra the wizard has nothing
        // to offer: say why and end the program.
        QMessageBox::warning(wizard, QStringLiteral("Warning"), wizard->PrepareFailureMessage());
        wizard->close();
        if (!m_closed)
            close();
        return;
    }
    wizard->show();
}

void TMainForm::lbHomepageClick()
{
    ShellOpen(QUrl(HomePage));
}

void TMainForm::lbEMailClick()
{
    ShellOpen(QUrl(QStringLiteral("mailto:") + EMail));
}

// So that the wheel scrolls the picture after a click on it.
void TMainForm::imgReadMeMouseDown()
{
    ui->ScrollBox1->setFocus(Qt::MouseFocusReason);
}

// The picture moves by the wheel's own delta (120 a notch), clamped by the
// scroll bar to its range.
bool TMainForm::ScrollBox1MouseWheel(const QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return false;
    QScrollBar *bar = ui->ScrollBox1->verticalScrollBar();
    bar->setValue(bar->value() - delta);
    return true;
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->ScrollBox1->viewport() && event->type() == QEvent::Wheel)
        return ScrollBox1MouseWheel(static_cast<QWheelEvent *>(event));
    if (watched == ui->imgReadMe && event->type() == QEvent::MouseButtonPress)
        imgReadMeMouseDown();
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const auto *label = qobject_cast<QWidget *>(watched);
        const bool clicked = mouse->button() == Qt::LeftButton && label
                             && label->rect().contains(mouse->position().toPoint());
        if (clicked && watched == ui->lbHomepage)
            lbHomepageClick();
        else if (clicked && watched == ui->lbEMail)
            lbEMailClick();
    }
    return QMainWindow::eventFilter(watched, event);
}

// Closing the welcome window ends the program: its owner, the main window,
// goes with it.
void TMainForm::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    m_closed = true;
    if (QWidget *owner = parentWidget())
        owner->close();
}
