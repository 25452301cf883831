#include "WizardPageKeys.h"

#include "ui/DefaultButtonKey.h"

#include <QPushButton>
#include <QStackedWidget>

WizardPageKeys::WizardPageKeys(QWidget *wizard, QStackedWidget *pages,
                               const QList<QList<QWidget *>> &starts,
                               const QList<QPushButton *> &defaults)
    : QObject(wizard), m_pages(pages), m_starts(starts), m_defaults(defaults)
{
    for (QPushButton *button : defaults)
        button->setDefault(true);
    new DefaultButtonKey(wizard, [this]() -> QAbstractButton * {
        return m_defaults.value(m_pages->currentIndex());
    });
}

void WizardPageKeys::focusPage(int page) const
{
    for (QWidget *start : m_starts.value(page)) {
        if (start->isEnabled()) {
            start->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}
