#pragma once

#include "color.h"

#include <QLabel>

#include <functional>

class QMenu;

// A link: blue and underlined with a pointing hand; a click opens URL (or the caption when URL is
// blank) with the desktop's opener, and its menu copies the caption.
class TUrlLabel : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QString URL READ URL WRITE SetURL)
    Q_PROPERTY(uint ActiveColor READ ActiveColor WRITE SetActiveColor)

public:
    /// Hands a target to the desktop; replaceable so tests can record instead of starting a browser.
    using TOpener = std::function<void(const QString &target)>;

    explicit TUrlLabel(QWidget *parent = nullptr);

    QString URL() const { return m_url; }
    void SetURL(const QString &url) { m_url = url; }
    TColor ActiveColor() const { return m_activeColor; }
    void SetActiveColor(TColor color) { m_activeColor = color; }

    /// What a click opens: the trimmed URL, else the trimmed caption; empty when both are blank.
    QString Target() const;
    /// Opens Target() unless it is empty; failures are not reported.
    void Open() const;
    /// Puts the caption (not the URL) on the clipboard.
    void CopyCaption() const;
    QMenu *PopupMenu() const { return m_menu; }

    static void SetOpener(TOpener opener);
    static void OpenWithDesktop(const QString &target);

signals:
    void Clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void SetTextColor(const QColor &color);

    QString m_url;
    TColor m_activeColor = clPurple;
    QColor m_restoreColor;
    bool m_pressed = false;
    QMenu *m_menu = nullptr;
};
