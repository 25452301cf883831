#include "TMainForm.h"

#include "ui_TMainForm.h"

#include "i18n/Languages.h"
#include "i18n/LocalTexts.h"
#include "i18n/TextNumbers.h"
#include "shell/ShellAccessibility.h"
#include "ui/DefaultButtonKey.h"
#include "ui/FormStyle.h"
#include "ui/LanguageFont.h"
#include "ui/LinkAccessible.h"
#include "ui/MessageBoxes.h"
#include "ui/Pictures.h"
#include "ui/QtTranslations.h"
#include "ui/QuillonApplication.h"
#include "ui/ShellOpen.h"
#include "wizard/TSTYInstallForm.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QImageReader>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>

namespace {

const int ClientWidth = 464;
const int ClientHeight = 538;
const QSize ReadMeSize(380, 350);
const int ReadMeBoxWidth = 385;
const int ReadMeBoxHeight = 355;
// On a small or strongly scaled screen the readme box gives up height down to
// this, and the picture scrolls, so that the note and Next stay in sight.
const int SmallestReadMeBoxHeight = 120;

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
    FormStyle::ShowFocusAlways();
    FormStyle::SetTitleStyle(ui->stMainText);

    QPalette white = ui->ScrollBox1->palette();
    white.setColor(QPalette::Window, Qt::white);
    ui->ScrollBox1->setPalette(white);
    // The box takes the focus for the wheel and the arrow keys; a dotted
    // frame says so.
    ui->ScrollBox1->setStyleSheet(
            QStringLiteral("QScrollArea:focus { border: 1px dotted #000080; }"));
    ui->ScrollBox1->viewport()->setAutoFillBackground(true);
    ui->ScrollBox1->viewport()->installEventFilter(this);
    ui->imgReadMe->installEventFilter(this);
    setUpLinks();
    LinkAccessible::Attach(ui->lbHomepage, [this] { lbHomepageClick(); });
    LinkAccessible::Attach(ui->lbEMail, [this] { lbEMailClick(); });

    InitPictures();
    ui->sbNext->setIcon(QIcon(Pictures::Next));
    connect(ui->sbNext, &QToolButton::clicked, this, &TMainForm::sbNextClick);
    connect(ui->msmClose, &QAction::triggered, this, &QWidget::close);
    connectLanguageEntries();
    new DefaultButtonKey(this, [this] { return ui->sbNext; });

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

// The links are drawn in the readme picture; these labels over them take the
// clicks, and the keyboard reaches them with Tab (after the picture's box)
// and opens them with Enter or Space. The focused one wears a dotted frame.
void TMainForm::setUpLinks()
{
    for (QLabel *link : {ui->lbHomepage, ui->lbEMail}) {
        link->setCursor(Qt::PointingHandCursor);
        link->setFocusPolicy(Qt::TabFocus);
        link->setStyleSheet(QStringLiteral("QLabel:focus { border: 2px dotted #000080; }"));
        link->installEventFilter(this);
    }
    setTabOrder(ui->ScrollBox1, ui->lbHomepage);
    setTabOrder(ui->lbHomepage, ui->lbEMail);
    setTabOrder(ui->lbEMail, ui->sbNext);
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
                TextOr(m_texts, MainText::PictureUnreadable,
                       QStringLiteral("The picture could not be loaded: "))
                        + QDir::toNativeSeparators(path) + u'\n'
                        + TextOr(m_texts, MainText::SystemMessage,
                                 QStringLiteral("System message: "))
                        + reader.errorString(),
                TextOr(m_texts, MainText::OkButton, QStringLiteral("OK")));
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
    const QString homePage
            = TextOr(m_texts, MainText::HomePageLink, QStringLiteral("The maker's home page"));
    const QString eMail
            = TextOr(m_texts, MainText::EMailLink, QStringLiteral("Write to the maker"));
    ui->lbHomepage->setToolTip(homePage);
    ui->lbHomepage->setAccessibleName(homePage);
    ui->lbEMail->setToolTip(eMail);
    ui->lbEMail->setAccessibleName(eMail);
    DescribeWelcomeWindow(*ui, m_texts);

    // A longer translation of the note takes more lines, not a cut.
    const int noteHeight = ui->Label1->heightForWidth(ui->Label1->maximumWidth());
    ui->Label1->setMinimumHeight(std::max(34, noteHeight));
    fitToScreen();
}

// The window keeps the size of its layout where the screen has room for it;
// where not, the readme box gives up the height that is missing.
void TMainForm::fitToScreen()
{
    const int wanted = ClientHeight + menuBar()->sizeHint().height();
    setReadMeBoxHeight(ReadMeBoxHeight);
    const int missing
            = std::max(wanted, sizeHint().height()) - FormStyle::ClientRoom(this).height();
    if (missing > 0)
        setReadMeBoxHeight(std::max(SmallestReadMeBoxHeight, ReadMeBoxHeight - missing));
    FormStyle::FixSize(this, ClientWidth, wanted);
}

// A box lower than the picture scrolls it, and is wider by its scroll bar so
// that it needs none across. The client area's layout is brought up to date
// first, so that the window's own sees the new size.
void TMainForm::setReadMeBoxHeight(int height)
{
    const int bar = height < ReadMeBoxHeight
                            ? style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this)
                            : 0;
    ui->ScrollBox1->setFixedSize(ReadMeBoxWidth + bar, height);
    ui->clientArea->layout()->activate();
    layout()->invalidate();
    layout()->activate();
}

void TMainForm::msmLanguageClick(const QString &language)
{
    SetCurrentLanguageName(language);
    UseQtTranslations(language);
    UseLanguageFont(language);
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
        ShowMessageBox(wizard, QMessageBox::Warning,
                       TextOr(m_texts, MainText::WarningCaption, QStringLiteral("Warning")),
                       wizard->PrepareFailureMessage(),
                       {TextOr(m_texts, MainText::OkButton, QStringLiteral("OK")), {}, {}});
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
    if (event->type() == QEvent::KeyPress && linkKeyPress(watched, static_cast<QKeyEvent *>(event)))
        return true;
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

// Enter or Space on a focused link opens it.
bool TMainForm::linkKeyPress(QObject *watched, const QKeyEvent *event)
{
    if (!DefaultButtonKey::isEnter(event) && event->key() != Qt::Key_Space)
        return false;
    if (watched == ui->lbHomepage)
        lbHomepageClick();
    else if (watched == ui->lbEMail)
        lbEMailClick();
    else
        return false;
    return true;
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
