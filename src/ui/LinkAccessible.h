#pragma once

#include <QAccessibleWidget>

#include <functional>

class QLabel;

// A label that stands for a link (the welcome window's home page and e-mail
// links drawn in the readme picture): role link, and an action that opens
// it as a click or Enter does. Qt offers such a label only focus.
class LinkAccessible : public QAccessibleWidget
{
public:
    // Makes label a link for assistive technology; open() is what its
    // action does. The label keeps its own mouse and key handling.
    static void Attach(QLabel *label, std::function<void()> open);
    // Whether Attach() made label a link.
    static bool IsLink(const QObject *object);

    explicit LinkAccessible(QWidget *label);

    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;
};
