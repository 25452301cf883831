#pragma once

#include <QList>
#include <QObject>

class QPushButton;
class QStackedWidget;
class QWidget;

// The keyboard on the wizard's pages: where the focus starts when a page is
// shown, and the page's default button, which Enter presses (Next on pages 1
// to 4, Install on page 5) and which wears the default button's look. Qt
// gives default buttons only to dialogs; the wizard is a plain window.
class WizardPageKeys : public QObject
{
public:
    // starts: per page, the controls that may take the focus, in order; the
    // first enabled one takes it. defaults: per page, its default button.
    WizardPageKeys(QWidget *wizard, QStackedWidget *pages, const QList<QList<QWidget *>> &starts,
                   const QList<QPushButton *> &defaults);

    // Gives the focus to where the page starts.
    void focusPage(int page) const;

private:
    QStackedWidget *m_pages;
    QList<QList<QWidget *>> m_starts;
    QList<QPushButton *> m_defaults;
};
