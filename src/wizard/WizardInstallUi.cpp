#include "WizardInstallUi.h"

#include "i18n/LocalTexts.h"
#include "i18n/TextNumbers.h"
#include "i18n/TextTable.h"
#include "ui/Accessibility.h"
#include "ui/MessageBoxes.h"
#include "ui/MessageDialogLayout.h"
#include "ui/TMessageDialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>

namespace {
// The engine asks for window events once per folder entry and per chunk;
// letting them run this often keeps Cancel and the bar lively at little cost.
constexpr qint64 EventIntervalMs = 30;
} // namespace

WizardInstallUi::WizardInstallUi(const Widgets &widgets, const LanguageTextTable &texts)
    : m_widgets(widgets), m_texts(texts)
{}

void WizardInstallUi::setProgressBar(int value)
{
    m_widgets.Installprgbar->setValue(value);
}

void WizardInstallUi::setPercentLabel(int value)
{
    m_widgets.lbPercent->setText(QString::number(value));
}

void WizardInstallUi::setPercentVisible(bool visible)
{
    m_widgets.lbPercent->setVisible(visible);
    m_widgets.stPercent->setVisible(visible);
}

void WizardInstallUi::setStage(const QString &text)
{
    m_widgets.stInstall->setText(text);
    announce(text);
}

void WizardInstallUi::clearMemo()
{
    m_widgets.mmInstallStatus->clear();
}

void WizardInstallUi::addMemoLine(const QString &line)
{
    QPlainTextEdit *memo = m_widgets.mmInstallStatus;
    memo->appendPlainText(line);
    // The memo scrolls by its own reckoning only while its last line is in
    // sight, and it reckons lines not yet laid out as one line each: long
    // lines of paths, which wrap, would leave the end below the visible area
    // and the memo no longer following. The end is brought into sight as
    // laid out. (Its scroll bar is always there, so that the lines do not
    // wrap anew, and move, when it would come.)
    memo->moveCursor(QTextCursor::End);
    memo->ensureCursorVisible();
    announce(line);
}

// What the run just did, told to screen readers as the progress bar's
// description: the bar is what they follow while a run goes on.
void WizardInstallUi::announce(const QString &text)
{
    Accessibility::SetDescription(m_widgets.Installprgbar, text);
}

void WizardInstallUi::setElapsedSeconds(int seconds)
{
    m_widgets.Timer->setText(GetText(m_texts, InstallText::ElapsedSeconds)
                             + QString::number(seconds));
}

void WizardInstallUi::setRunButtonsEnabled(bool enabled)
{
    for (QWidget *button : std::as_const(m_widgets.runButtons))
        button->setEnabled(enabled);
    // There is something to cancel exactly while the run's buttons are off.
    if (m_widgets.btCancel)
        m_widgets.btCancel->setEnabled(!enabled);
}

void WizardInstallUi::processEvents()
{
    if (m_sinceEvents.isValid() && m_sinceEvents.elapsed() < EventIntervalMs)
        return;
    QCoreApplication::processEvents();
    m_sinceEvents.start();
}

BoxButtons WizardInstallUi::ButtonWords(const LanguageTextTable &texts)
{
    return {TextOr(texts, InstallText::OkButton, QStringLiteral("OK")),
            TextOr(texts, InstallText::YesButton, QStringLiteral("&Yes")),
            TextOr(texts, InstallText::NoButton, QStringLiteral("&No"))};
}

// The run passes English captions; they are shown in the wizard's language.
bool WizardInstallUi::askYesNo(Question question, const QString &text, const QString &caption)
{
    Q_UNUSED(question);
    return AskYesNo(m_widgets.window, InstallCaption(m_texts, caption), text, ButtonWords(m_texts));
}

void WizardInstallUi::showWarning(const QString &text, const QString &caption)
{
    ShowMessageBox(m_widgets.window, QMessageBox::Warning, InstallCaption(m_texts, caption), text,
                   ButtonWords(m_texts));
}

// The buttons keep their order (Yes, All, No, Cancel) in every language, so
// the answer is read from the button's place; the first one has the focus.
OverwriteAnswer WizardInstallUi::askOverwrite(const QString &text)
{
    const QString buttons = TextOr(m_texts, InstallText::OverwriteButtons,
                                   QStringLiteral("&Yes|&All|&No|Cancel"));
    const QList<MessageButton> pieces = SplitButtonCaptions(buttons);
    const QString first = pieces.isEmpty() ? QString() : pieces.first().name;
    switch (ShowMessageDialog(text, InstallCaption(m_texts, QStringLiteral("Question")), buttons,
                              first, m_widgets.window)) {
    case 1:
        return OverwriteAnswer::Yes;
    case 2:
        return OverwriteAnswer::All;
    case 3:
        return OverwriteAnswer::No;
    default: // Cancel, or the dialog closed without an answer
        return OverwriteAnswer::Cancel;
    }
}

void WizardInstallUi::closeInstaller()
{
    m_widgets.window->close();
}
