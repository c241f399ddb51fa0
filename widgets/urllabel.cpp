#include "urllabel.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenu>
#include <QUrl>

namespace {

TUrlLabel::TOpener &CurrentOpener()
{
    static TUrlLabel::TOpener opener = &TUrlLabel::OpenWithDesktop;
    return opener;
}

} // namespace

TUrlLabel::TUrlLabel(QWidget *parent)
    : QLabel(parent), m_menu(new QMenu(this))
{
    QFont link = font();
    link.setUnderline(true);
    setFont(link);
    SetTextColor(ToQColor(clBlue));
    setCursor(Qt::PointingHandCursor);
    m_menu->addAction(tr("Copy"), this, &TUrlLabel::CopyCaption);
}

void TUrlLabel::SetOpener(TOpener opener)
{
    CurrentOpener() = opener ? std::move(opener) : TOpener(&TUrlLabel::OpenWithDesktop);
}

void TUrlLabel::OpenWithDesktop(const QString &target)
{
    QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

QString TUrlLabel::Target() const
{
    const QString url = m_url.trimmed();
    return url.isEmpty() ? text().trimmed() : url;
}

void TUrlLabel::Open() const
{
    const QString target = Target();
    if (!target.isEmpty())
        CurrentOpener()(target);
}

void TUrlLabel::CopyCaption() const
{
    QGuiApplication::clipboard()->setText(text());
}

void TUrlLabel::SetTextColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

void TUrlLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && !m_pressed) {
        m_pressed = true;
        m_restoreColor = palette().color(QPalette::WindowText);
        SetTextColor(ToQColor(m_activeColor));
    }
    QLabel::mousePressEvent(event);
}

void TUrlLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    SetTextColor(m_restoreColor);
    if (rect().contains(event->position().toPoint())) {
        emit Clicked();
        Open();
    }
}

void TUrlLabel::contextMenuEvent(QContextMenuEvent *event)
{
    m_menu->popup(event->globalPos());
}
