#pragma once

#include <QWidget>

// A section of a status bar that shows one line of text, cut short with an ellipsis when it has
// less room than the text needs, and can be clicked. Screen readers read the whole text as its
// description; its name says what the section is about.
class TStatusSection : public QWidget
{
    Q_OBJECT
public:
    explicit TStatusSection(QWidget *parent = nullptr);

    QString Text() const { return m_text; }
    void SetText(const QString &text);
    // A clickable section shows the pointing hand and raises Clicked.
    bool Clickable() const { return m_clickable; }
    void SetClickable(bool clickable);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void Clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    static constexpr int kMargin = 3;

    QString m_text;
    bool m_clickable = false;
};
