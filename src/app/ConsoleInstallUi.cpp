#include "ConsoleInstallUi.h"

#include "i18n/LocalTexts.h"
#include "i18n/TextNumbers.h"
#include "i18n/TextTable.h"
#include "platform/ConsoleStream.h"

ConsoleInstallUi::ConsoleInstallUi(ConsoleStream &out, const Answers &answers,
                                   const LanguageTextTable &texts)
    : m_answers(answers), m_texts(texts), m_out(out)
{}

void ConsoleInstallUi::print(const QString &text)
{
    if (m_progressShown)
        m_out.rewriteLine(QString());
    m_progressShown = false;
    // Our texts break lines with CR LF; the console wants plain line feeds.
    m_out.write(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")) + u'\n');
}

void ConsoleInstallUi::setStage(const QString &text)
{
    m_stage = text;
}

void ConsoleInstallUi::setProgressBar(int value)
{
    if (value == m_progress)
        return;
    m_progress = value;
    if (m_out.isInteractive())
        drawProgress();
}

void ConsoleInstallUi::drawProgress()
{
    m_out.rewriteLine(m_stage + u' ' + QString::number(m_progress) + u'%');
    m_progressShown = true;
}
bool ConsoleInstallUi::askYesNo(Question question, const QString &text, const QString &)
{
    switch (question) {
    case Question::CancelRun:
        return false; // nobody can press Cancel here
    case Question::RemoveFiles:
        return true;
    case Question::SaveStatus:
        return m_answers.saveStatus;
    case Question::CloseInstaller:
        break;
    }
    // The final message, without the question whether to close: there is
    // nothing to close.
    QString message = text;
    const QString closeQuestion = GetText(m_texts, InstallText::CloseQuestion);
    if (message.endsWith(closeQuestion))
        message.chop(closeQuestion.size());
    message = message.trimmed();
    if (!message.isEmpty())
        print(message);
    return true;
}

void ConsoleInstallUi::showWarning(const QString &text, const QString &caption)
{
    m_lastWarning = text;
    print(InstallCaption(m_texts, caption) + QStringLiteral(": ") + text);
}

OverwriteAnswer ConsoleInstallUi::askOverwrite(const QString &text)
{
    // A person would have seen which file the run stopped at; so does the output.
    if (m_answers.overwrite == OverwriteAnswer::Cancel) {
        const QString question = GetText(m_texts, InstallText::OverwriteQuestion);
        const QString file = text.startsWith(question) ? text.mid(question.size()) : text;
        print(GetText(m_texts, InstallText::StoppedAtFile) + file.trimmed());
    }
    return m_answers.overwrite;
}
