#pragma once

#include <QLabel>

// A label for folder paths: a line too long for the label is shortened in the
// middle ("C:\Vestra\…\STY_2027SS") instead of widening the window, and its
// tool tip shows the whole text. Each line of a multi-line text is shortened
// on its own. text() stays the whole text.
class PathLabel : public QLabel
{
    Q_OBJECT
public:
    explicit PathLabel(QWidget *parent = nullptr);

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    bool isShortened() const;
};
